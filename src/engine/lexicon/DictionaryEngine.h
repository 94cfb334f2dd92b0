// The lexicon's word list in lexicon order, with prefix candidates and exact membership.
// Installs come from the loading thread, queries from the main thread; every member is
// safe to call from any thread, and a query never waits for a search in progress.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/lexicon/WordList.h"
#include "engine/text/FailedPrefixes.h"

namespace yakdrom {

class DictionaryEngine {
 public:
  DictionaryEngine() = default;
  DictionaryEngine(const DictionaryEngine&) = delete;
  DictionaryEngine& operator=(const DictionaryEngine&) = delete;

  /// Replaces the whole list. `words` must be NFC and in lexicon order (scalar order, a
  /// proper prefix first); the engine neither checks nor repairs that.
  void install(WordList words);

  /// Returns the number of words in the list.
  [[nodiscard]] std::size_t count() const;

  /// Returns true when the list holds a word canonically equal to `word` (never for "").
  [[nodiscard]] bool contains(std::string_view word) const;

  /// Returns up to `limit` words that begin, character by character, with `prefix`: the
  /// unbroken run of such words from the prefix's place in the list, in list order.
  [[nodiscard]] std::vector<std::string> candidates(std::string_view prefix, int limit) const;

  /// Writes the words candidates() returns into the strings of `room` from index `from` on,
  /// adding strings when it holds too few, and returns the index past the last one written;
  /// the strings after it are left as they are, so that their room serves the next query.
  std::size_t candidatesInto(std::string_view prefix, int limit, std::vector<std::string>& room,
                             std::size_t from) const;

  /// Replaces the list with the words of a comma-separated lexicon file; returns true when
  /// it held at least one. A file that cannot be read, is not well-formed UTF-8 or whose
  /// words pass WordList::kMaxBytes leaves the list alone and returns false.
  [[nodiscard]] bool loadCSV(const std::filesystem::path& path);

 private:
  // The words that begin with the last query, as positions in the list installed as
  // `version`: a longer query searches only among them, and none at all when they are none.
  struct Narrowing {
    std::string query;
    std::size_t first = 0;
    std::size_t last = 0;
    std::uint64_t version = 0;
  };

  // A list and which install gave it.
  struct Snapshot {
    std::shared_ptr<const WordList> words;
    std::uint64_t version = 0;
  };

  [[nodiscard]] Snapshot snapshot() const;
  // Returns the range of `words` that the words beginning with `query` lie in.
  [[nodiscard]] std::pair<std::size_t, std::size_t> searchRange(const Snapshot& words,
                                                                std::string_view query) const;
  // Notes the range of the words that begin with `query`, the NFC form of `prefix`.
  void rememberRange(const Snapshot& words, std::string_view prefix, std::string_view query,
                     std::size_t first, std::size_t last) const;
  [[nodiscard]] bool ruledOut(const Snapshot& words, std::string_view prefix) const;

  mutable std::mutex mutex_;
  // Never changed in place: an install swaps in a new list, so a query keeps a whole one.
  std::shared_ptr<const WordList> words_ = std::make_shared<const WordList>();
  std::uint64_t version_ = 1;  // guarded by mutex_; raised by every install

  // Held only to read or note the narrowing, never during a search.
  mutable std::mutex narrowingMutex_;
  mutable Narrowing narrowing_;          // guarded by narrowingMutex_
  mutable text::FailedPrefixes failed_;  // guarded by narrowingMutex_
};

}  // namespace yakdrom
