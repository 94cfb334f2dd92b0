// Gathers words and explanations from plain text sources into the content of a lexicon file:
// words cleaned, NFC, ending in one tsheg, deduplicated and in lexicon order; explanations
// keyed by key form. Lines it cannot use, or whose explanation a later line replaces, are
// recorded with their file and line number.
// Not thread-safe; one builder belongs to one caller.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/learning/FileResult.h"
#include "engine/lexicon/DictionaryLoader.h"

namespace yakdrom {

/// A source line the builder left out, and why.
struct LexiconIssue {
  std::string file;
  std::size_t line = 0;
  std::string reason;

  bool operator==(const LexiconIssue&) const = default;
};

class LexiconBuilder {
 public:
  enum class Language { tibetan, chinese, english };

  /// The outcome of cleaning one word: the word, or why it is not one.
  struct CleanWord {
    std::optional<std::string> word;
    std::string_view problem;
  };

  /// Cleans one word: trims it, requires well-formed Tibetan-block text that starts with a
  /// letter, turns it into NFC and ends it in exactly one tsheg (trailing tshegs and shads
  /// dropped).
  [[nodiscard]] static CleanWord cleanWord(std::string_view word);

  /// Adds the words of a text with one word per line; blank lines are skipped.
  void addWords(std::string_view text, std::string_view fileName);

  /// Adds explanations from a text of "word TAB explanation" lines, and their words to the
  /// word list; a later explanation of a word replaces an earlier one, which is reported.
  void addExplanations(Language language, std::string_view text, std::string_view fileName);

  /// Adds the words of the file at `path`, or returns why it cannot be read.
  FileStatus addWordFile(const std::filesystem::path& path);

  /// Adds the explanations of the file at `path`, or returns why it cannot be read.
  FileStatus addExplanationFile(Language language, const std::filesystem::path& path);

  /// Returns the lines left out so far, in the order their problem was met.
  [[nodiscard]] const std::vector<LexiconIssue>& issues() const { return issues_; }

  /// Returns the lexicon content: the words sorted and unique, and the three explanation maps.
  [[nodiscard]] DictionaryLoader::Result build() const;

 private:
  // Where an explanation came from.
  struct Origin {
    std::string file;
    std::size_t line = 0;
  };

  void report(std::string_view file, std::size_t line, std::string_view reason);
  void addExplanation(Language language, const std::string& word, std::string_view explanation,
                      Origin origin);
  [[nodiscard]] ExplanationMap& explanations(Language language);

  std::vector<std::string> words_;
  ExplanationMap tibetan_;
  ExplanationMap chinese_;
  ExplanationMap english_;
  std::array<std::unordered_map<std::string, Origin>, 3> origins_;  // by Language
  std::vector<LexiconIssue> issues_;
};

}  // namespace yakdrom
