// The words the user has typed, each with a usage count, offered as candidates ahead of the
// lexicon and kept in a plain UTF-8 text file that several programs share. Any thread may
// call it: the input controller learns and asks for candidates, the settings window edits,
// imports, exports and backs up. What other programs write shows up here within a second.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/learning/DictionaryChanges.h"
#include "engine/learning/DictionaryWriter.h"
#include "engine/learning/FileResult.h"
#include "engine/learning/LocalCalendar.h"
#include "engine/learning/UserDictionaryFormat.h"
#include "engine/learning/UserWords.h"
#include "engine/text/FailedPrefixes.h"

namespace yakdrom {

class UserDictionary {
 public:
  using Entry = UserDictionaryEntry;

  /// Longest word, in user-perceived characters, that learn() accepts.
  static constexpr std::size_t kMaxWordCharacters = 60;
  /// Why learn() ignores a word.
  enum class IgnoredReason { empty, tooLong, lineBreak, illFormed };
  /// Backups kept by the settings window.
  static constexpr int kDefaultBackupsKept = 10;

  /// Returns why learn() would ignore `word`, or nothing when it would count it.
  [[nodiscard]] static std::optional<IgnoredReason> whyNotLearnable(std::string_view word);

  /// Returns the process-wide dictionary, loaded from defaultURL() on first use.
  [[nodiscard]] static UserDictionary& shared();

  /// Returns $XDG_DATA_HOME/Yakdrom/user-dictionary.txt, or
  /// ~/.local/share/Yakdrom/user-dictionary.txt without it. It creates nothing: the first
  /// write creates the folder.
  [[nodiscard]] static std::filesystem::path defaultURL();

  /// Creates a dictionary loaded from `url`. A missing file gives an empty dictionary; see
  /// loadError() for a file that exists but cannot be read. `calendar` dates the backups.
  explicit UserDictionary(std::filesystem::path url, LocalCalendar calendar = {});

  /// Writes every pending change, then stops the writer.
  ~UserDictionary();

  UserDictionary(const UserDictionary&) = delete;
  UserDictionary& operator=(const UserDictionary&) = delete;

  /// Returns the file this dictionary keeps its words in.
  [[nodiscard]] const std::filesystem::path& url() const { return url_; }

  /// Returns the read error of a file that exists but could not be read. The dictionary then
  /// starts empty and never writes over that file.
  [[nodiscard]] const std::optional<FileError>& loadError() const { return loadError_; }

  /// Returns where the bytes of a file that was not valid UTF-8 were kept before its first
  /// rewrite, once that rewrite has happened.
  [[nodiscard]] std::optional<std::filesystem::path> keptOriginal() const;

  /// Returns the number of entries.
  [[nodiscard]] std::size_t count() const;

  /// Counts one more use of `word` (trimmed; ignored when empty, longer than 60 characters,
  /// holding a line feed or carriage return or not well-formed UTF-8: see whyNotLearnable())
  /// and schedules a background write of the file.
  void learn(std::string_view word);

  /// Returns up to `limit` learnt words that begin, character by character, with `prefix`,
  /// in entry order; nothing for an empty prefix or a limit below 1. A word longer than
  /// learn() accepts, written to the file by hand or an older version, stays in the file
  /// but is never offered. At most once a second it also checks whether another program
  /// has replaced the file, and then has it read again in the background.
  [[nodiscard]] std::vector<std::string> candidates(std::string_view prefix,
                                                    std::int64_t limit) const;

  /// Writes the words candidates() returns into the first strings of `room`, adding strings
  /// when it holds too few, and returns their number; the strings after them are left as
  /// they are, so that their room serves the next query.
  std::size_t candidatesInto(std::string_view prefix, std::int64_t limit,
                             std::vector<std::string>& room) const;

  /// Returns every entry in entry order: frequency descending, then word.
  [[nodiscard]] std::vector<Entry> allEntries() const;

  /// Returns the whole content in written form.
  [[nodiscard]] std::string renderText() const;

  /// Replaces the whole content with the entries of `text`, writes the file and returns the
  /// number of entries now held, or why the write failed (the new content stays in memory
  /// and goes out with the next write). Only the words this changes are written over what
  /// other programs have written meanwhile.
  FileResult<std::size_t> replaceAll(std::string_view text);

  /// Applies what the user changed in an editor that opened with `opened` and ended with
  /// `edited` (words added, deleted, renamed or re-counted) to the content as it is now, writes
  /// the file and returns the number of entries now held, or why the write failed (the content
  /// stays in memory for the next write, as with replaceAll()). Both lists are read as
  /// replaceAll() reads text. Words learnt or imported meanwhile and not touched by the edit
  /// are kept; an edited word gets exactly the edited frequency, and a deleted word goes even
  /// when it was learnt again meanwhile.
  FileResult<std::size_t> applyEdits(const std::vector<Entry>& opened,
                                     const std::vector<Entry>& edited);

  /// Returns once the content as it is now is on disk, merged with what other programs have
  /// written meanwhile: the number of entries written, or why the write failed (the changes
  /// stay in memory and go out with the next write). It waits at most about two seconds for
  /// another program's write to end.
  FileResult<std::size_t> flush();

  /// Reads the file again when another program has replaced it, keeping the changes not
  /// yet written; returns why the file could not be read.
  FileStatus reload();

  /// Merges the entries of the UTF-8 word list at `source`, keeping the larger frequency,
  /// writes the file and returns the number of lines taken. Fails when the list cannot be
  /// read as UTF-8 text, changing nothing, or when the write fails, keeping the merged
  /// content in memory for the next write.
  [[nodiscard]] FileResult<std::size_t> importWords(const std::filesystem::path& source);

  /// Writes the whole content to `destination` and returns the number of entries written.
  [[nodiscard]] FileResult<std::size_t> exportTo(const std::filesystem::path& destination) const;

  /// Writes the content to a new dated file in the "backups" folder beside the dictionary,
  /// deletes the oldest backups beyond `keep` (the new one always stays) and returns the new
  /// file's location.
  [[nodiscard]] FileResult<std::filesystem::path> backup(int keep);

 private:
  // A query answered from a long run of matching words, remembered until the content is
  // replaced: learning keeps it exact, so asking again costs nothing.
  struct Answer {
    std::string key;
    std::size_t limit = 0;
    std::vector<UserWord> words;  // exactly `limit`, in entry order; more words match
  };

  // The keys that begin with the last query's key, as positions in words_, while words_ is
  // as it was then: a longer query searches only among them, and none at all when they are
  // none.
  struct Narrowing {
    std::string key;
    std::size_t first = 0;
    std::size_t last = 0;
    std::uint64_t version = 0;
  };

  [[nodiscard]] UserWords snapshot() const;
  // The writer's view of this dictionary; see DictionaryContent.
  void rebase(UserWords onDisk);
  [[nodiscard]] DictionaryChanges take(UserWords& into);
  void restore(const DictionaryChanges& taken);
  // Brings the remembered answers up to date with the raised frequency of `word`; the
  // caller holds mutex_.
  void rerankAnswers(const UserWord& word);

  const std::filesystem::path url_;
  const LocalCalendar calendar_;
  std::optional<FileError> loadError_;

  mutable std::mutex mutex_;
  UserWords words_;                      // guarded by mutex_
  DictionaryChanges changes_;            // guarded by mutex_; not yet written
  mutable std::vector<Answer> answers_;  // guarded by mutex_
  std::uint64_t version_ = 1;            // guarded by mutex_; raised by every change of words_
  mutable Narrowing narrowing_;          // guarded by mutex_
  mutable text::FailedPrefixes failed_;  // guarded by mutex_
  mutable std::vector<const UserWord*> matches_;  // guarded by mutex_; a query's room
  // When candidates() next checks the file, in steady-clock ticks.
  mutable std::atomic<std::int64_t> nextCheck_{0};

  // Last, so that it finishes its writes while the members above still exist.
  std::unique_ptr<detail::DictionaryWriter> writer_;
};

}  // namespace yakdrom
