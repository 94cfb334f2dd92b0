// The learnt words and their frequencies in one table sorted by the words' NFC bytes (the
// lexicon order), so the words that begin with a text form a run. The bytes of the words
// lie in shared blocks: a copy costs the table alone and may be read on another thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "engine/learning/LargeString.h"
#include "engine/lexicon/HugePageAllocator.h"

namespace yakdrom {

/// A learnt word (NFC) and its frequency. The word's bytes belong to the table that holds
/// the entry and stay valid as long as that table or any copy of it.
struct UserWord {
  std::string_view word;
  std::int64_t freq = 1;

  bool operator==(const UserWord&) const = default;
};

class UserWords {
 public:
  class Builder;
  using value_type = UserWord;
  using const_iterator = const UserWord*;

  UserWords() = default;

  /// Holds `words`, which must be NFC, the larger frequency kept for a repeated word.
  UserWords(std::initializer_list<UserWord> words);

  /// Copies the table; the copy shares the bytes of the words.
  UserWords(const UserWords& other);
  UserWords& operator=(const UserWords& other);
  UserWords(UserWords&&) noexcept = default;
  UserWords& operator=(UserWords&&) noexcept = default;
  ~UserWords() = default;

  /// Returns the number of entries.
  [[nodiscard]] std::size_t size() const { return table_.size(); }

  /// Returns true when there is no entry.
  [[nodiscard]] bool empty() const { return table_.empty(); }

  /// Returns the first entry; entries come in word order.
  [[nodiscard]] const_iterator begin() const { return table_.data(); }

  /// Returns the end of the entries.
  [[nodiscard]] const_iterator end() const { return table_.data() + table_.size(); }

  /// Returns the first entry whose word does not come before `key` in byte order.
  [[nodiscard]] const_iterator lowerBound(std::string_view key) const;

  /// Returns the entry of `word`, or nullptr when it is not stored.
  [[nodiscard]] const UserWord* find(std::string_view word) const;

  /// Sets the frequency of `word` (NFC), adding it when absent; returns its entry, whose
  /// place in the table lasts until the next change.
  const UserWord& set(std::string_view word, std::int64_t freq);

  /// Sets each word of `updates` (NFC, in word order, each once) to its frequency there,
  /// adding it when absent and deleting it when that frequency is 0.
  void update(std::span<const UserWord> updates);

  /// Adds the words of `other` that are missing and raises the others to their frequency
  /// there where that is larger; returns true when anything changed.
  bool mergeKeepingLarger(const UserWords& other);

  /// Returns true when both hold the same words with the same frequencies.
  bool operator==(const UserWords& other) const;

 private:
  using Table = std::vector<UserWord, detail::HugePageAllocator<UserWord>>;

  // Copies `bytes` into this table's own block and returns them there.
  [[nodiscard]] std::string_view store(std::string_view bytes);

  Table table_;  // sorted by word, each word once
  std::vector<std::shared_ptr<const detail::LargeString>> blocks_;  // every block a word lies in
  // The block that store() appends to. A copy shares its bytes so far but never appends to
  // it, so the bytes a copy sees never change.
  std::shared_ptr<detail::LargeString> open_;
};

/// Builds a table from many words at once: takes them in any order and sorts once, which
/// costs little when they come in sorted runs, as a file in entry order does.
class UserWords::Builder {
 public:
  /// Starts a table whose words may be views into `text`, which it keeps; room is made for
  /// `expected` words.
  Builder(std::shared_ptr<const detail::LargeString> text, std::size_t expected);

  /// Returns the text given at the start.
  [[nodiscard]] std::string_view text() const { return text_; }

  /// Adds `word` (NFC) with `freq`; its bytes are copied unless they lie in text().
  void add(std::string_view word, std::int64_t freq);

  /// Returns the number of words added, repeats included.
  [[nodiscard]] std::size_t added() const { return words_.table_.size(); }

  /// Returns the table, each repeated word once with its largest frequency.
  [[nodiscard]] UserWords build() &&;

 private:
  UserWords words_;
  std::string_view text_;
};

}  // namespace yakdrom
