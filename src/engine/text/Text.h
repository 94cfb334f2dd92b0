// Unicode text rules shared by every layer: UTF-8 decoding, user-perceived characters,
// canonical equality, NFC and the lexicon order. Text is std::string holding UTF-8.
// Every function here is pure and may be called from any thread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace yakdrom::text {

inline constexpr char32_t kReplacementCharacter = U'\uFFFD';

/// Decodes the scalar that starts at byte `i` of `bytes` and moves `i` past it; an
/// ill-formed UTF-8 sequence gives U+FFFD. `i` must lie inside `bytes`.
[[nodiscard]] char32_t decodeScalarAt(std::string_view bytes, std::size_t& i);

/// Returns the scalars of `bytes`; each ill-formed UTF-8 sequence becomes U+FFFD.
[[nodiscard]] std::u32string decodeUtf8(std::string_view bytes);

/// Appends the UTF-8 form of `scalar` to `out`.
void appendUtf8(std::string& out, char32_t scalar);

/// Returns the UTF-8 form of `scalars`.
[[nodiscard]] std::string encodeUtf8(std::u32string_view scalars);

/// Returns true when `bytes` is well-formed UTF-8 (so sanitizeUtf8 would return it unchanged).
[[nodiscard]] bool isWellFormedUtf8(std::string_view bytes);

/// Returns `bytes` as well-formed UTF-8, ill-formed sequences replaced by U+FFFD.
[[nodiscard]] std::string sanitizeUtf8(std::string_view bytes);

/// Returns the first scalar of `text`, or 0 when it is empty.
[[nodiscard]] char32_t firstScalar(std::string_view text);

/// Returns the last scalar of `text`, or 0 when it is empty.
[[nodiscard]] char32_t lastScalar(std::string_view text);

/// Removes the last scalar (not the last character) of `text`; does nothing when empty.
void removeLastScalar(std::string& text);

/// Returns the number of scalars in `text`.
[[nodiscard]] std::size_t scalarCount(std::string_view text);

/// Returns the extended grapheme clusters of `text`, in order, as views into it; nothing
/// when ICU cannot break the text.
[[nodiscard]] std::vector<std::string_view> characters(std::string_view text);

/// Replaces `out` with characters(text), reusing its capacity.
void charactersInto(std::string_view text, std::vector<std::string_view>& out);

/// Appends characters(text) to `out`.
void appendCharacters(std::string_view text, std::vector<std::string_view>& out);

/// Returns the last of characters(text); empty for empty text.
[[nodiscard]] std::string_view lastCharacter(std::string_view text);

/// Returns the number of extended grapheme clusters in `text`; 0 when ICU cannot break it.
[[nodiscard]] std::size_t characterCount(std::string_view text);

/// Returns true when `text` is exactly one extended grapheme cluster.
[[nodiscard]] bool isSingleCharacter(std::string_view text);

/// Returns the NFC form of `text`, or an empty string when ICU cannot normalise it.
[[nodiscard]] std::string nfc(std::string_view text);

/// Returns the NFC form of `text`, made well-formed first: `text` itself when isPlainNfc()
/// vouches for it, else a view of `room`, which receives the form (empty when ICU fails).
[[nodiscard]] std::string_view wellFormedNfc(std::string_view text, std::string& room);

/// Returns the NFD form of `text`, or an empty string when ICU cannot normalise it.
[[nodiscard]] std::string nfd(std::string_view text);

/// Returns true when `text` begins with `start` and the NFC form of `text`, made
/// well-formed, begins with that of `start`: no text that lacks the one can have the other.
[[nodiscard]] bool extendsNormalized(std::string_view text, std::string_view start);

/// Returns true when `a` and `b` are canonically equivalent; false when they differ and
/// ICU cannot normalise them.
[[nodiscard]] bool canonicallyEqual(std::string_view a, std::string_view b);

/// Compares in lexicon order: scalar order after NFC, a proper prefix first; text ICU
/// cannot normalise compares by its bytes. Returns a negative number, zero or a positive
/// number.
[[nodiscard]] int compareLexicon(std::string_view a, std::string_view b);

/// Returns true when `a` sorts before `b` in lexicon order.
[[nodiscard]] bool lexiconLess(std::string_view a, std::string_view b);

/// Returns true when the characters of `prefix` equal, canonically and one by one, the
/// first characters of `text`. A bare letter does not match the same letter carrying a
/// subjoined letter or vowel sign, since those belong to its character.
[[nodiscard]] bool hasCharacterPrefix(std::string_view text, std::string_view prefix);

/// Returns true for the Unicode space separators (Zs) and TAB.
[[nodiscard]] bool isWhitespace(char32_t scalar);

/// Returns true for the combining marks (Mn, Mc, Me), which are drawn on a letter before
/// them and show nothing alone.
[[nodiscard]] bool isMark(char32_t scalar);

/// Returns true for whitespace and the line breaks U+000A-U+000D, U+0085, U+2028, U+2029.
[[nodiscard]] bool isWhitespaceOrNewline(char32_t scalar);

/// Returns `text` without leading and trailing whitespace.
[[nodiscard]] std::string_view trimWhitespace(std::string_view text);

/// Returns `text` without leading and trailing whitespace and line breaks.
[[nodiscard]] std::string_view trimWhitespaceAndNewlines(std::string_view text);

/// Returns `text` with every whitespace scalar removed, wherever it stands.
[[nodiscard]] std::string removeWhitespace(std::string_view text);

/// Splits `text` at line ends: LF, CR LF and a lone CR, so files from any system read
/// alike. Empty lines are kept; the caller decides. A final line end opens no line.
[[nodiscard]] std::vector<std::string_view> splitLines(std::string_view text);

/// Returns true when a quick test shows `text` to be NFC: only ASCII and assigned Tibetan
/// scalars without a canonical decomposition, combining marks in canonical order. False
/// means only that the test cannot tell; nfc() decides then.
[[nodiscard]] bool isPlainNfc(std::string_view text);

}  // namespace yakdrom::text
