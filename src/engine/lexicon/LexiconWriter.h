// Writes lexicon files that DictionaryLoader reads back: the packed form (scrambled) or the
// comma-separated text form. Stateless; safe to call from any thread.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "engine/learning/FileResult.h"
#include "engine/lexicon/DictionaryLoader.h"

namespace yakdrom {

class LexiconWriter {
 public:
  /// Returns the form a lexicon at `path` is written in: packed for the extension "dat",
  /// comma-separated otherwise (the rule the loader reads by).
  [[nodiscard]] static LexiconForm formFor(const std::filesystem::path& path);

  /// Returns the unscrambled packed bytes of `content`, explanation entries in key order so
  /// equal content gives equal files; nothing when a block outgrows 32-bit sizes.
  [[nodiscard]] static std::optional<std::string> pack(const DictionaryLoader::Result& content);

  /// Returns the comma-separated text of the words and Tibetan explanations of `content`, or
  /// nothing when a word cannot stand in it (empty, padded, or holding a comma or line break).
  [[nodiscard]] static std::optional<std::string> toCSV(const DictionaryLoader::Result& content);

  /// Returns the file bytes of `content` in `form`: packed and scrambled, or the text.
  [[nodiscard]] static std::optional<std::string> encode(const DictionaryLoader::Result& content,
                                                         LexiconForm form);

  /// Writes `bytes` to `path` atomically, so the file is replaced whole or not at all, and
  /// returns the number of bytes written or why the write failed.
  static FileResult<std::size_t> write(const std::filesystem::path& path, std::string_view bytes);
};

}  // namespace yakdrom
