// The user dictionary's text form: one "word frequency" line per entry. One reader serves
// the dictionary file, imported word lists and the editor's text; words come out in NFC,
// so canonically equal spellings are one key. Pure functions; any thread may call them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/learning/LargeString.h"
#include "engine/learning/UserWords.h"

namespace yakdrom {

struct UserDictionaryEntry {
  std::string word;
  std::int64_t freq = 1;

  bool operator==(const UserDictionaryEntry&) const = default;
};

/// The words of a text read into a table, the number of lines that yielded an entry, and
/// whether the text was well-formed UTF-8 (ill-formed sequences were read as U+FFFD).
struct ParsedWords {
  UserWords words;
  std::size_t lines = 0;
  bool wellFormed = true;
};

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

  /// Returns `text` read into a table, the larger frequency kept for a repeated word.
  [[nodiscard]] static UserWords parseWords(std::string_view text);

  /// Reads `bytes` as parseWords() does, into a table that shares them: a word already in
  /// NFC stays where it lies, so a well-formed file is read without copying its words.
  [[nodiscard]] static ParsedWords readWords(std::shared_ptr<const detail::LargeString> bytes);

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
