// The user dictionary's one serial worker: a background thread that keeps the dictionary
// and its file in step while other programs write the same file. Each write takes the file
// lock, reads the file again when another program has replaced it, replays this program's
// pending changes on top and replaces the file. Requests made while a write runs fold into
// the next one. Any thread may call it.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "engine/learning/DictionaryChanges.h"
#include "engine/learning/FileIdentity.h"
#include "engine/learning/FileResult.h"
#include "engine/learning/LocalCalendar.h"
#include "engine/learning/UserWords.h"

namespace yakdrom::detail {

/// How the file looked when it was last read.
struct LoadedFile {
  /// The read error of a file that exists but could not be read. Such a file is never
  /// replaced: its content is unknown, so any write could hold less than it does.
  std::optional<FileError> unreadable;
  /// The original bytes of a file that held ill-formed UTF-8. A rewrite would turn those
  /// bytes into U+FFFD, so they are copied beside the file before the first rewrite.
  std::optional<std::string> illFormedBytes;
  /// The version read; nothing when there was no file.
  std::optional<FileIdentity> identity;
};

/// The words of a dictionary file and how the file looked.
struct LoadedWords {
  UserWords words;
  LoadedFile file;
};

/// What the writer asks of the dictionary it serves; each call comes from its thread.
struct DictionaryContent {
  /// Makes `onDisk` with the pending changes replayed the dictionary's content.
  std::function<void(UserWords onDisk)> rebase;
  /// Copies the content into its argument and returns the pending changes, which the
  /// dictionary stops holding.
  std::function<DictionaryChanges(UserWords& into)> take;
  /// Gives back changes taken for a write that failed, to be applied before newer ones.
  std::function<void(const DictionaryChanges& taken)> restore;
};

class DictionaryWriter {
 public:
  /// Reads the dictionary file at `path`; a missing file gives no words.
  [[nodiscard]] static LoadedWords load(const std::filesystem::path& path);

  /// Creates a writer for the file at `path`, which looked like `loaded` when `content`
  /// was read from it. Nothing runs before the first request.
  DictionaryWriter(std::filesystem::path path, DictionaryContent content, LoadedFile loaded,
                   LocalCalendar calendar);

  /// Finishes every write requested so far, and one more after a write that found the lock
  /// taken, then stops the thread.
  ~DictionaryWriter();

  DictionaryWriter(const DictionaryWriter&) = delete;
  DictionaryWriter& operator=(const DictionaryWriter&) = delete;

  /// Asks for a write of the content as it is from now on; returns the request's ticket.
  std::uint64_t request();

  /// Asks for a write of the content as it is from now on unless a write asked for earlier
  /// has not started yet, which takes this change along. The write waits a moment for
  /// further changes unless something waits for it.
  void schedule();

  /// Asks for the file to be read again if another program has replaced it, without
  /// writing; returns the request's ticket.
  std::uint64_t requestReload();

  /// Asks for a reload when the file is no longer the version last read or written; costs
  /// one file status query.
  void reloadIfReplaced();

  /// Waits until the pass that serves `ticket` has finished; returns the number of
  /// entries it wrote (0 for a reload), or why it failed.
  [[nodiscard]] FileResult<std::size_t> wait(std::uint64_t ticket);

  /// Returns where the original bytes of an ill-formed file were kept, once they are.
  [[nodiscard]] std::optional<std::filesystem::path> keptOriginal() const;

 private:
  [[nodiscard]] std::uint64_t enqueue(bool write, bool awaited);
  void run();
  [[nodiscard]] FileResult<std::size_t> pass(bool write);
  [[nodiscard]] FileStatus reloadIfChanged();
  [[nodiscard]] FileResult<std::size_t> writeContent();
  [[nodiscard]] FileStatus keepOriginal();

  const std::filesystem::path path_;
  const std::filesystem::path lockPath_;
  const DictionaryContent dictionary_;
  const LocalCalendar calendar_;

  // Touched only by the writer thread (or before it starts).
  UserWords content_;  // the copy last written; kept so the next copy reuses its room
  LoadedFile loaded_;

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable done_;
  std::optional<FileIdentity> known_;                  // guarded by mutex_
  std::uint64_t requested_ = 0;                        // guarded by mutex_
  std::uint64_t writeRequested_ = 0;                   // guarded by mutex_
  std::uint64_t awaitedRequested_ = 0;                 // guarded by mutex_
  std::uint64_t completed_ = 0;                        // guarded by mutex_
  std::optional<FileResult<std::size_t>> lastResult_;  // guarded by mutex_
  std::optional<std::filesystem::path> keptPath_;      // guarded by mutex_
  bool retryDue_ = false;                              // guarded by mutex_
  bool stopping_ = false;                              // guarded by mutex_
  // A write is asked for that no pass has begun; learning then needs no further request.
  std::atomic<bool> scheduled_{false};
  std::thread thread_;  // started by the first request
};

}  // namespace yakdrom::detail
