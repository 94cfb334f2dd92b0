// Tibetan letters and signs that the engine names one by one: the composition rules, and the
// lexicon and statistics where they tell syllables and clauses apart.
#pragma once

#include <string_view>

namespace yakdrom {

/// The separators: a tsheg ends a syllable, a shad ends a clause.
inline constexpr std::string_view kTsheg = "\u0F0B";  // ་
inline constexpr std::string_view kShad = "\u0F0D";   // །

}  // namespace yakdrom

namespace yakdrom::detail::letters {

using yakdrom::kShad;
using yakdrom::kTsheg;

inline constexpr std::string_view kGa = "\u0F42";  // ག
inline constexpr std::string_view kMa = "\u0F58";  // མ
inline constexpr std::string_view kWa = "\u0F5D";  // ཝ
inline constexpr std::string_view kYa = "\u0F61";  // ཡ
inline constexpr std::string_view kRa = "\u0F62";  // ར
inline constexpr std::string_view kLa = "\u0F63";  // ལ
inline constexpr std::string_view kSa = "\u0F66";  // ས
inline constexpr std::string_view kAa = "\u0F71";  // ◌ཱ vowel length mark
inline constexpr std::string_view kI = "\u0F72";   // ◌ི
inline constexpr std::string_view kU = "\u0F74";   // ◌ུ

inline constexpr char32_t kAaScalar = 0x0F71;
inline constexpr char32_t kFirstDigit = 0x0F20;  // ༠; the half digits end at U+0F33
inline constexpr char32_t kLastDigit = 0x0F33;
inline constexpr char32_t kFirstSubjoined = 0x0F90;  // ◌ྐ
inline constexpr char32_t kLastSubjoined = 0x0FBC;

/// Returns true when `c` is a subjoined letter (U+0F90-U+0FBC).
[[nodiscard]] constexpr bool isSubjoinedScalar(char32_t c) {
  return c >= kFirstSubjoined && c <= kLastSubjoined;
}

/// Returns true when `c` is a digit or half digit (U+0F20-U+0F33).
[[nodiscard]] constexpr bool isDigitScalar(char32_t c) {
  return c >= kFirstDigit && c <= kLastDigit;
}

}  // namespace yakdrom::detail::letters
