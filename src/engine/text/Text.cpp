#include "engine/text/Text.h"

#include <unicode/bytestream.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <optional>

#include "engine/text/GraphemeBreaker.h"

namespace yakdrom::text {
namespace {

using detail::GraphemeBreaker;

bool isContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Decodes one scalar at `i` by the WHATWG "maximal subpart" rule, so each ill-formed
// sequence turns into exactly one U+FFFD, as ICU and the platform decoders do.

// ICU measures UTF-8 text in 32-bit lengths.
constexpr std::size_t kLongestForIcu = std::numeric_limits<int32_t>::max();

// The NFC or NFD normaliser, or null when ICU cannot provide it.
const icu::Normalizer2* normalizer(bool compose) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* n =
      compose ? icu::Normalizer2::getNFCInstance(status) : icu::Normalizer2::getNFDInstance(status);
  return U_SUCCESS(status) ? n : nullptr;
}

// The NFC or NFD form of `text`, or nothing when ICU fails.
std::optional<std::string> normalized(std::string_view text, bool compose) {
  const icu::Normalizer2* n = normalizer(compose);
  if (n == nullptr || text.size() > kLongestForIcu) return std::nullopt;
  const auto length = static_cast<int32_t>(text.size());
  const icu::StringPiece piece(text.data(), length);
  UErrorCode status = U_ZERO_ERROR;
  const bool already = n->isNormalizedUTF8(piece, status);
  if (U_SUCCESS(status) && already) return std::string(text);
  std::string out;
  icu::StringByteSink<std::string> sink(&out, length);
  status = U_ZERO_ERROR;
  n->normalizeUTF8(0, piece, sink, nullptr, status);
  if (U_FAILURE(status)) return std::nullopt;
  return out;
}

std::string_view trimBy(std::string_view text, bool (*drop)(char32_t)) {
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t i = begin;
    if (!drop(decodeScalarAt(text, i))) break;
    begin = i;
  }
  std::size_t end = text.size();
  while (end > begin) {
    std::size_t start = end - 1;
    while (start > begin && isContinuation(static_cast<unsigned char>(text[start]))) --start;
    std::size_t i = start;
    if (!drop(decodeScalarAt(text, i)) || i != end) break;
    end = start;
  }
  return text.substr(begin, end - begin);
}

}  // namespace

char32_t decodeScalarAt(std::string_view s, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i++]);
  if (b0 < 0x80) return b0;
  int need = 0;
  char32_t c = 0;
  unsigned char lo = 0x80;
  unsigned char hi = 0xBF;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    need = 1;
    c = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    need = 2;
    c = b0 & 0x0F;
    if (b0 == 0xE0) lo = 0xA0;
    if (b0 == 0xED) hi = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    need = 3;
    c = b0 & 0x07;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;
  } else {
    return kReplacementCharacter;
  }
  for (int k = 0; k < need; ++k) {
    if (i >= s.size()) return kReplacementCharacter;
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < lo || b > hi) return kReplacementCharacter;
    lo = 0x80;
    hi = 0xBF;
    c = (c << 6) | (b & 0x3F);
    ++i;
  }
  return c;
}

std::u32string decodeUtf8(std::string_view bytes) {
  std::u32string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) out.push_back(decodeScalarAt(bytes, i));
  return out;
}

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::string encodeUtf8(std::u32string_view scalars) {
  std::string out;
  out.reserve(scalars.size() * 3);
  for (char32_t c : scalars) appendUtf8(out, c);
  return out;
}

// Checks the forms of table 3-7 of the Unicode standard without decoding: the lead byte
// fixes the length and the range of the second byte, later bytes are plain continuations.
// The lexicon load runs every word through here, so it is kept lean.
bool isWellFormedUtf8(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* const end = p + bytes.size();
  while (p != end) {
    const unsigned char lead = *p;
    if (lead < 0x80) {
      ++p;
      continue;
    }
    std::ptrdiff_t length = 0;
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
    if (lead < 0xC2 || lead > 0xF4) return false;
    if (lead < 0xE0) {
      length = 2;
    } else if (lead < 0xF0) {
      length = 3;
      if (lead == 0xE0) lo = 0xA0;
      if (lead == 0xED) hi = 0x9F;
    } else {
      length = 4;
      if (lead == 0xF0) lo = 0x90;
      if (lead == 0xF4) hi = 0x8F;
    }
    if (end - p < length || p[1] < lo || p[1] > hi) return false;
    for (std::ptrdiff_t k = 2; k < length; ++k) {
      if (!isContinuation(p[k])) return false;
    }
    p += length;
  }
  return true;
}

std::string sanitizeUtf8(std::string_view bytes) {
  if (isWellFormedUtf8(bytes)) return std::string(bytes);
  return encodeUtf8(decodeUtf8(bytes));
}

char32_t firstScalar(std::string_view text) {
  if (text.empty()) return 0;
  std::size_t i = 0;
  return decodeScalarAt(text, i);
}

char32_t lastScalar(std::string_view text) {
  if (text.empty()) return 0;
  std::size_t start = text.size() - 1;
  while (start > 0 && isContinuation(static_cast<unsigned char>(text[start]))) --start;
  std::size_t i = start;
  const char32_t c = decodeScalarAt(text, i);
  return i == text.size() ? c : kReplacementCharacter;
}

void removeLastScalar(std::string& text) {
  if (text.empty()) return;
  std::size_t start = text.size() - 1;
  while (start > 0 && isContinuation(static_cast<unsigned char>(text[start]))) --start;
  text.erase(start);
}

std::size_t scalarCount(std::string_view text) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < text.size(); ++n) static_cast<void>(decodeScalarAt(text, i));
  return n;
}

std::vector<std::string_view> characters(std::string_view text) {
  std::vector<std::string_view> out;
  charactersInto(text, out);
  return out;
}

void charactersInto(std::string_view text, std::vector<std::string_view>& out) {
  out.clear();
  appendCharacters(text, out);
}

void appendCharacters(std::string_view text, std::vector<std::string_view>& out) {
  if (text.empty()) return;
  // Each thread keeps one list of boundaries, so breaking text costs no allocation.
  thread_local std::vector<std::size_t> b;
  GraphemeBreaker::boundariesInto(text, b);
  if (b.empty()) return;
  for (std::size_t k = 0; k + 1 < b.size(); ++k) out.push_back(text.substr(b[k], b[k + 1] - b[k]));
}

std::string_view lastCharacter(std::string_view text) {
  // The list lives on with the thread, so the test allocates nothing once it has grown.
  thread_local std::vector<std::string_view> characters;
  charactersInto(text, characters);
  return characters.empty() ? std::string_view{} : characters.back();
}

std::size_t characterCount(std::string_view text) {
  return text.empty() ? 0 : GraphemeBreaker::count(text);
}

bool isSingleCharacter(std::string_view text) { return characterCount(text) == 1; }

std::string nfc(std::string_view text) { return normalized(text, true).value_or(std::string()); }

std::string_view wellFormedNfc(std::string_view text, std::string& room) {
  if (isPlainNfc(text)) return text;
  room = nfc(isWellFormedUtf8(text) ? text : sanitizeUtf8(text));
  return room;
}

bool extendsNormalized(std::string_view text, std::string_view start) {
  if (!text.starts_with(start)) return false;
  if (text.size() == start.size()) return true;
  // A cut inside a sequence would be decoded differently on its own.
  if (isContinuation(static_cast<unsigned char>(text[start.size()]))) return false;
  const icu::Normalizer2* n = normalizer(true);
  std::size_t next = start.size();
  return n != nullptr && n->hasBoundaryBefore(static_cast<UChar32>(decodeScalarAt(text, next)));
}

std::string nfd(std::string_view text) { return normalized(text, false).value_or(std::string()); }

bool canonicallyEqual(std::string_view a, std::string_view b) {
  if (a == b) return true;
  // Two texts already in NFC are equivalent only when they are the same.
  if (isPlainNfc(a) && isPlainNfc(b)) return false;
  const auto na = normalized(a, false);
  const auto nb = normalized(b, false);
  return na && nb && *na == *nb;
}

int compareLexicon(std::string_view a, std::string_view b) {
  const auto na = normalized(a, true);
  const auto nb = normalized(b, true);
  // UTF-8 byte order is scalar order, and compare() puts a proper prefix first.
  const int r = na && nb ? std::string_view(*na).compare(*nb) : a.compare(b);
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

bool lexiconLess(std::string_view a, std::string_view b) { return compareLexicon(a, b) < 0; }

bool hasCharacterPrefix(std::string_view text, std::string_view prefix) {
  if (prefix.empty()) return true;
  if (text.starts_with(prefix)) return GraphemeBreaker::isBoundary(text, prefix.size());
  // Characters of texts already in NFC are equivalent only when they are the same, so the
  // bytes would have matched.
  if (isPlainNfc(text) && isPlainNfc(prefix)) return false;
  // The lists live on with the thread, so the test allocates nothing once they are grown.
  thread_local std::vector<std::string_view> pc;
  thread_local std::vector<std::string_view> tc;
  charactersInto(prefix, pc);
  charactersInto(text, tc);
  // No characters for a prefix that is not empty means ICU could not break it.
  if (pc.empty() || tc.size() < pc.size()) return false;
  for (std::size_t k = 0; k < pc.size(); ++k) {
    if (!canonicallyEqual(pc[k], tc[k])) return false;
  }
  return true;
}

bool isWhitespace(char32_t c) {
  return c == U'\t' || u_charType(static_cast<UChar32>(c)) == U_SPACE_SEPARATOR;
}

bool isMark(char32_t c) {
  const auto category = u_charType(static_cast<UChar32>(c));
  return category == U_NON_SPACING_MARK || category == U_COMBINING_SPACING_MARK ||
         category == U_ENCLOSING_MARK;
}

bool isWhitespaceOrNewline(char32_t c) {
  return isWhitespace(c) || (c >= 0x0A && c <= 0x0D) || c == 0x85 || c == 0x2028 || c == 0x2029;
}

std::string_view trimWhitespace(std::string_view text) { return trimBy(text, isWhitespace); }

std::string_view trimWhitespaceAndNewlines(std::string_view text) {
  return trimBy(text, isWhitespaceOrNewline);
}

std::string removeWhitespace(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t start = i;
    if (!isWhitespace(decodeScalarAt(text, i))) out.append(text.substr(start, i - start));
  }
  return out;
}

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      if (start < text.size()) lines.push_back(text.substr(start));
      return lines;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + (text.substr(end).starts_with("\r\n") ? 2 : 1);
  }
}

namespace {

// Tibetan needs no composition step: every precomposed Tibetan letter is a composition
// exclusion, so Tibetan text is NFC when none of its scalars decomposes and its combining
// marks stand in canonical order. Decomposable scalars are left to ICU, and so are the
// unassigned ones, to which a later Unicode version may give a decomposition or a class.
constexpr unsigned char kLeaveToIcu = 0xFF;

struct TibetanRange {
  char32_t first;
  char32_t last;
  unsigned char value;  // the canonical combining class, or kLeaveToIcu
};

constexpr TibetanRange kTibetanRanges[] = {
    {0x0F18, 0x0F19, 220},
    {0x0F35, 0x0F35, 220},
    {0x0F37, 0x0F37, 220},
    {0x0F39, 0x0F39, 216},
    {0x0F71, 0x0F71, 129},
    {0x0F72, 0x0F72, 130},
    {0x0F74, 0x0F74, 132},
    {0x0F7A, 0x0F7D, 130},
    {0x0F80, 0x0F80, 130},
    {0x0F82, 0x0F83, 230},
    {0x0F84, 0x0F84, 9},
    {0x0F86, 0x0F87, 230},
    {0x0FC6, 0x0FC6, 220},
    // Unassigned in Unicode 15.
    {0x0F48, 0x0F48, kLeaveToIcu},
    {0x0F6D, 0x0F70, kLeaveToIcu},
    {0x0F98, 0x0F98, kLeaveToIcu},
    {0x0FBD, 0x0FBD, kLeaveToIcu},
    {0x0FCD, 0x0FCD, kLeaveToIcu},
    {0x0FDB, 0x0FFF, kLeaveToIcu},
};

constexpr char32_t kTibetanDecomposable[] = {0x0F43, 0x0F4D, 0x0F52, 0x0F57, 0x0F5C, 0x0F69,
                                             0x0F73, 0x0F75, 0x0F76, 0x0F78, 0x0F81, 0x0F93,
                                             0x0F9D, 0x0FA2, 0x0FA7, 0x0FAC, 0x0FB9};

// The value of every scalar U+0F00-U+0FFF, indexed by its low byte; 0 for the rest.
constexpr auto kTibetanTable = [] {
  std::array<unsigned char, 256> table{};
  for (const auto& range : kTibetanRanges) {
    for (char32_t c = range.first; c <= range.last; ++c) table[c & 0xFF] = range.value;
  }
  for (const char32_t c : kTibetanDecomposable) table[c & 0xFF] = kLeaveToIcu;
  return table;
}();

}  // namespace

// Works on the bytes: a Tibetan scalar is E0 followed by BC-BF and a continuation byte.
bool isPlainNfc(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* const end = p + text.size();
  unsigned char previous = 0;
  while (p != end) {
    if (*p < 0x80) {
      previous = 0;
      ++p;
      continue;
    }
    if (end - p < 3 || p[0] != 0xE0 || (p[1] & 0xFC) != 0xBC || !isContinuation(p[2])) {
      return false;
    }
    const unsigned char current = kTibetanTable[((p[1] & 0x03) << 6) | (p[2] & 0x3F)];
    // One branch rather than three: letters and marks alternate unpredictably.
    if ((current == kLeaveToIcu) | ((current != 0) & (current < previous))) return false;
    previous = current;
    p += 3;
  }
  return true;
}

}  // namespace yakdrom::text
