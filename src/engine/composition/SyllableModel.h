// The Tibetan syllable being composed, slot by slot, and its serialisation to text.
// A plain value; every slot holds one user-perceived character in its base form.
#pragma once

#include <optional>
#include <string>

#include "engine/composition/LetterList.h"

namespace yakdrom {

struct SyllableModel {
  std::optional<std::string> prefix{};
  std::optional<std::string> superscript{};
  std::optional<std::string> root{};
  LetterList subjoined{};  // below the root, in typing order
  LetterList vowels{};     // in typing order
  std::optional<std::string> suffix{};
  std::optional<std::string> postsuffix{};
  std::string free{};  // dead-key output, letters moved out of the suffix slots, marks

  /// Returns true when no slot is set and `free` is empty.
  [[nodiscard]] bool isEmpty() const;

  /// Returns true when `free` ends with a hand-typed subjoined letter (U+0F90-U+0FBC).
  [[nodiscard]] bool manualStackActive() const;

  /// Returns true when a root is set and neither a vowel nor a suffix has followed it.
  [[nodiscard]] bool stackWindowOpen() const;

  /// Returns the syllable as text: prefix, head and root, subjoined letters, `free` body,
  /// vowels, `free` marks, suffixes, passed through TibetanNormalizer::normalize.
  [[nodiscard]] std::string serialized() const;

  friend bool operator==(const SyllableModel&, const SyllableModel&) = default;
};

}  // namespace yakdrom
