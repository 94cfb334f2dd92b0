// Explanations of lexicon words in Tibetan, Chinese and English, looked up by a word's key
// form. One process-wide instance is filled once by the lexicon load (a background thread)
// and read by the candidate views; every member is safe to call from any thread.
#pragma once

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace yakdrom {

/// Explanations by key form of the word.
using ExplanationMap = std::unordered_map<std::string, std::string>;

class TibetanDictionary {
 public:
  TibetanDictionary() = default;
  TibetanDictionary(const TibetanDictionary&) = delete;
  TibetanDictionary& operator=(const TibetanDictionary&) = delete;

  /// Returns the process-wide instance, created empty on first use.
  [[nodiscard]] static TibetanDictionary& shared();

  /// Returns the key form of `word`: surrounding whitespace and trailing tshegs removed,
  /// NFC. A trailing shad stays.
  [[nodiscard]] static std::string normalize(std::string_view word);

  /// Replaces all three maps, empty ones included, and marks the dictionary loaded. Keys
  /// must already be in key form.
  void install(ExplanationMap entries, ExplanationMap chinese, ExplanationMap english);

  /// Reads a comma-separated file of Tibetan explanations (a header line, then word,explanation
  /// lines) and installs it with empty Chinese and English maps. Returns true when at least
  /// one explanation was read; a file that cannot be read or is not well-formed UTF-8
  /// changes nothing and returns false.
  [[nodiscard]] bool load(const std::filesystem::path& path);

  /// Returns the number of Tibetan explanations.
  [[nodiscard]] std::size_t count() const;

  /// Returns true once anything has been installed.
  [[nodiscard]] bool isLoaded() const;

  /// Returns the Tibetan explanation of `word`, if any.
  [[nodiscard]] std::optional<std::string> explanation(std::string_view word) const;

  /// Returns the Chinese explanation of `word`, if any.
  [[nodiscard]] std::optional<std::string> chineseExplanation(std::string_view word) const;

  /// Returns the English explanation of `word`, if any.
  [[nodiscard]] std::optional<std::string> englishExplanation(std::string_view word) const;

 private:
  [[nodiscard]] std::optional<std::string> find(const ExplanationMap TibetanDictionary::*map,
                                                std::string_view word) const;

  mutable std::mutex mutex_;
  ExplanationMap entries_;
  ExplanationMap chineseEntries_;
  ExplanationMap englishEntries_;
  bool loaded_ = false;
};

}  // namespace yakdrom
