// The Tibetan letter classes that decide how a typed letter joins the syllable, and the
// stacking questions over them. Tables are built once on first use, thread-safely; all
// membership tests compare characters by canonical equivalence.
#pragma once

#include <string_view>

#include "engine/composition/CharacterSet.h"

namespace yakdrom::Orthography {

/// Returns the thirty letters of the alphabet and the four retroflex letters.
[[nodiscard]] const CharacterSet& consonants();
/// Returns the vowel signs ◌ཱ ◌ི ◌ུ ◌ེ ◌ོ.
[[nodiscard]] const CharacterSet& vowels();
/// Returns the letters that may stand before the root: ག ད བ མ འ.
[[nodiscard]] const CharacterSet& prefixes();
/// Returns the head letters ར ལ ས.
[[nodiscard]] const CharacterSet& superscripts();
/// Returns the foot letters ཡ ར ལ ཝ.
[[nodiscard]] const CharacterSet& subjoinable();
/// Returns the letters that may follow the root as first suffix.
[[nodiscard]] const CharacterSet& suffixes();
/// Returns the first suffixes that a second suffix may follow: ག ད བ ས.
[[nodiscard]] const CharacterSet& postsuffixAfter();
/// Returns the roots allowed under head ར.
[[nodiscard]] const CharacterSet& raGoRoots();
/// Returns the roots allowed under head ལ.
[[nodiscard]] const CharacterSet& laGoRoots();
/// Returns the roots allowed under head ས.
[[nodiscard]] const CharacterSet& saGoRoots();
/// Returns the roots allowed above foot ཡ.
[[nodiscard]] const CharacterSet& yaRoots();
/// Returns the roots allowed above foot ར.
[[nodiscard]] const CharacterSet& raRoots();
/// Returns the roots allowed above foot ལ.
[[nodiscard]] const CharacterSet& laRoots();
/// Returns the roots allowed above foot ཝ.
[[nodiscard]] const CharacterSet& waRoots();

/// Returns true when `root` may stand under head letter `superscript`.
[[nodiscard]] bool canStack(std::string_view superscript, std::string_view root);

/// Returns true when foot letter `sub` may stand under `root`.
[[nodiscard]] bool canSubjoin(std::string_view root, std::string_view sub);

/// Returns true when the first scalar of `character` is a digit or half digit
/// (U+0F20-U+0F33).
[[nodiscard]] bool isTibetanDigit(std::string_view character);

}  // namespace yakdrom::Orthography
