// Gives composed Tibetan text its shape: subjoined letter forms, vowel-sign order and the
// splitting of precomposed letters and signs that stand alone. Pure; any thread.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/composition/LetterList.h"

namespace yakdrom::TibetanNormalizer {

/// Precomposed character -> its components.
using DecomposeMap = std::map<std::string, std::string, std::less<>>;

/// Returns the 19 replacements that normalize applies.
[[nodiscard]] const DecomposeMap& decomposeMap();

/// Returns the below-base form of `letter` when written under `root`, or nothing when
/// the letter has none.
[[nodiscard]] std::optional<std::string> subjoinedForm(
    std::string_view letter, std::optional<std::string_view> root = std::nullopt);

/// Returns the vowel signs joined, those starting with U+0F71 first, order otherwise kept.
[[nodiscard]] std::string orderVowels(const LetterList& vowels);

/// Returns `text` with every character that is a decomposeMap key as a whole replaced by
/// its components; other characters are copied unchanged.
[[nodiscard]] std::string normalize(std::string_view text);

}  // namespace yakdrom::TibetanNormalizer
