// What one program has done to the user dictionary since it last wrote the file, kept as
// operations rather than content, so that they can be replayed on top of whatever other
// programs have written meanwhile. Each word holds its operations folded into one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "engine/learning/UserWords.h"

namespace yakdrom {

class DictionaryChanges {
 public:
  /// Records `uses` more uses of `word` (NFC), added to whatever frequency it has then,
  /// saturating at the largest frequency.
  void add(std::string_view word, std::int64_t uses);

  /// Records that `word` (NFC) has at least frequency `freq` (an import's merge).
  void raiseTo(std::string_view word, std::int64_t freq);

  /// Records that `word` (NFC) has exactly frequency `freq`, which must be at least 1.
  void set(std::string_view word, std::int64_t freq);

  /// Records that `word` is deleted.
  void remove(std::string_view word);

  /// Records what turns `before` into `after`: deletions of the words `after` lacks and
  /// the frequencies of the words it adds or changes.
  void recordDifference(const UserWords& before, const UserWords& after);

  /// Makes these changes follow `earlier`, so that they end up applied after it.
  void followOn(const DictionaryChanges& earlier);

  /// Applies the changes to `words`.
  void applyTo(UserWords& words) const;

 private:
  // The frequency a word ends with given the one it had (0 when absent; 0 as a result
  // deletes it): `value` when absolute, else at least `atLeast` after adding `add`.
  struct Change {
    bool absolute = false;
    std::int64_t value = 0;
    std::int64_t add = 0;
    std::int64_t atLeast = 0;

    [[nodiscard]] std::int64_t applied(std::int64_t freq) const;
    [[nodiscard]] Change then(const Change& later) const;
  };

  // Hashes a word held in any form, so that recording a learnt word costs no copy of it.
  struct WordHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view word) const {
      return std::hash<std::string_view>{}(word);
    }
  };

  void record(std::string_view word, const Change& change);

  std::unordered_map<std::string, Change, WordHash, std::equal_to<>> changes_;
};

}  // namespace yakdrom
