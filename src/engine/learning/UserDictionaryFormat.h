// The user dictionary's text form: one "word frequency" line per entry. One reader serves
// the dictionary file, imported word lists and the editor's text; words come out in NFC,
// so canonically equal spellings are one key. Pure functions; any thread may call them.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace yakdrom {

struct UserDictionaryEntry {
  std::string word;
  std::int64_t freq = 1;

  bool operator==(const UserDictionaryEntry&) const = default;
};

/// Learnt words (NFC) and their frequencies; iteration order is the lexicon order.
using UserWords = std::map<std::string, std::int64_t, std::less<>>;

class UserDictionaryFormat {
 public:
  /// Returns `text` without whitespace (with `andNewlines`, also line breaks) at both ends
  /// and without byte-order marks (U+FEFF) in front, which editors leave before the first
  /// word of a file and which would not survive a rewrite there.
  [[nodiscard]] static std::string_view trimWord(std::string_view text, bool andNewlines = false);

  /// Returns the entry that one line yields, or nothing when the line is blank.
  [[nodiscard]] static std::optional<UserDictionaryEntry> parseLine(std::string_view line);

  /// Returns the entries of every line of `text`, in line order, repeats included. Lines end
  /// in LF or CR LF.
  [[nodiscard]] static std::vector<UserDictionaryEntry> parseText(std::string_view text);

  /// Returns `text` read into a map, the larger frequency kept for a repeated word.
  [[nodiscard]] static UserWords parseWords(std::string_view text);

  /// Stores `entry` in `words` unless a larger or equal frequency is already there;
  /// frequencies are never added. Returns true when `words` changed.
  static bool mergeKeepingLarger(UserWords& words, const UserDictionaryEntry& entry);

  /// Returns true when `a` comes before `b`: higher frequency first, then word order.
  [[nodiscard]] static bool inEntryOrder(const UserDictionaryEntry& a,
                                         const UserDictionaryEntry& b);

  /// Returns every entry of `words`, in entry order.
  [[nodiscard]] static std::vector<UserDictionaryEntry> entries(const UserWords& words);

  /// Returns the written form of `words`: a line per entry in entry order, each ending
  /// in LF; nothing at all for no words.
  [[nodiscard]] static std::string render(const UserWords& words);
};

}  // namespace yakdrom
