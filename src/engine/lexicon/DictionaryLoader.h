// Reads the lexicon file: the packed form (extension "dat", scrambled, with offset tables)
// or the comma-separated text form. Stateless; safe to call from any thread.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "engine/learning/FileResult.h"
#include "engine/lexicon/TibetanDictionary.h"
#include "engine/lexicon/WordList.h"

namespace yakdrom {

/// The two shapes a lexicon file can take.
enum class LexiconForm { packed, commaSeparated };

class DictionaryLoader {
 public:
  /// Everything a lexicon file holds.
  struct Result {
    WordList words;               // file order, duplicates kept
    ExplanationMap explanations;  // Tibetan
    ExplanationMap chineseExplanations;
    ExplanationMap englishExplanations;

    bool operator==(const Result&) const = default;
  };

  /// Reads the lexicon at `path`: packed when the extension is exactly "dat" (falling back
  /// to the text form of the unscrambled bytes), text otherwise. Returns why it read
  /// nothing (a LexiconError code for a file that opened) when the file cannot be read,
  /// starts with the packed signature but does not parse as packed, is ill-formed UTF-8
  /// text or holds no word.
  [[nodiscard]] static FileResult<Result> load(const std::filesystem::path& path);

  /// Returns the form in which `load` reads the file at `path`, or nothing when it fails.
  [[nodiscard]] static std::optional<LexiconForm> formOf(const std::filesystem::path& path);

  /// Returns `bytes` XORed with the scrambling key; it undoes itself.
  [[nodiscard]] static std::string deobfuscate(std::string_view bytes);

  /// Parses unscrambled packed bytes. Public for the fuzzers; never reads outside `bytes`
  /// and rejects offsets that run backwards or past their block.
  [[nodiscard]] static std::optional<Result> parseBinary(std::string_view bytes);

  /// Parses the comma-separated form; nothing when it holds no word or is not well-formed
  /// UTF-8, so that stray binary data never turns into words. Public for the fuzzers.
  [[nodiscard]] static std::optional<Result> parseCSV(std::string_view text);
};

}  // namespace yakdrom
