#include "engine/composition/CanonicalIndex.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <algorithm>

#include "engine/text/Text.h"

namespace yakdrom::detail {
namespace {

constexpr char32_t kNotFast = 0xFFFFFFFF;
constexpr char32_t kTibetanFirst = 0x0F00;
constexpr char32_t kTibetanLast = 0x0FFF;

struct ScalarInfo {
  bool decomposes = false;
  std::uint8_t combiningClass = 0;
};

// Decomposition and combining class of every Tibetan-block scalar, asked of ICU once, so
// that the per-key tests need neither a normaliser call nor a property lookup.
const std::array<ScalarInfo, 0x1000>& tibetanInfo() {
  static const auto table = [] {
    std::array<ScalarInfo, 0x1000> t{};
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
    for (char32_t c = kTibetanFirst; c <= kTibetanLast; ++c) {
      icu::UnicodeString decomposition;
      const auto scalar = static_cast<UChar32>(c);
      t[c - kTibetanFirst] = {
          .decomposes = U_SUCCESS(status) && nfd->getDecomposition(scalar, decomposition),
          .combiningClass = u_getCombiningClass(scalar)};
    }
    return t;
  }();
  return table;
}

// Decodes the ASCII or Tibetan scalar at `i` and advances past it; anything else (other
// scripts, ill-formed bytes) gives kNotFast and leaves the text to the normaliser.
char32_t nextFastScalar(std::string_view s, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  if (b0 != 0xE0 || s.size() - i < 3) return kNotFast;
  const auto b1 = static_cast<unsigned char>(s[i + 1]);
  const auto b2 = static_cast<unsigned char>(s[i + 2]);
  if (b1 < 0xBC || b1 > 0xBF || (b2 & 0xC0) != 0x80) return kNotFast;
  i += 3;
  return static_cast<char32_t>((b1 & 0x3F) << 6 | (b2 & 0x3F));
}

std::size_t fastSlot(char32_t c) { return c < 0x80 ? c : 0x80 + (c - kTibetanFirst); }

ScalarInfo info(char32_t c) { return c < 0x80 ? ScalarInfo{} : tibetanInfo()[c - kTibetanFirst]; }

// True when `text` is already its own NFD form, decided from the table alone; false also
// when the table cannot tell.
bool isKnownNfd(std::string_view text) {
  std::uint8_t previous = 0;
  for (std::size_t i = 0; i < text.size();) {
    const char32_t c = nextFastScalar(text, i);
    if (c == kNotFast) return false;
    const ScalarInfo si = info(c);
    if (si.decomposes) return false;
    if (si.combiningClass != 0 && previous > si.combiningClass) return false;
    previous = si.combiningClass;
  }
  return true;
}

// Returns the scalar when `text` is one ASCII or Tibetan scalar, else kNotFast.
char32_t singleFastScalar(std::string_view text) {
  if (text.empty()) return kNotFast;
  std::size_t i = 0;
  const char32_t c = nextFastScalar(text, i);
  return i == text.size() ? c : kNotFast;
}

}  // namespace

CanonicalIndex::CanonicalIndex(const std::vector<std::string>& keys) {
  for (std::size_t k = 0; k < keys.size(); ++k) {
    std::string nfd = canonicalKey(keys[k]);
    longestNfd_ = std::max(longestNfd_, text::scalarCount(nfd));
    byNfd_.try_emplace(std::move(nfd), k);
  }
  for (char32_t c = 0; c < 0x80; ++c) fast_[fastSlot(c)] = kAbsent;
  for (char32_t c = kTibetanFirst; c <= kTibetanLast; ++c) {
    fast_[fastSlot(c)] = info(c).decomposes ? kAskNormalizer : kAbsent;
  }
  // A scalar without a decomposition is its own NFD, so it matches exactly the keys whose
  // NFD is that one scalar.
  for (const auto& [nfd, position] : byNfd_) {
    const char32_t c = singleFastScalar(nfd);
    if (c != kNotFast) fast_[fastSlot(c)] = static_cast<std::int16_t>(position);
  }
}

std::optional<std::size_t> CanonicalIndex::find(std::string_view text) const {
  const char32_t c = singleFastScalar(text);
  if (c != kNotFast && fast_[fastSlot(c)] != kAskNormalizer) {
    const std::int16_t position = fast_[fastSlot(c)];
    if (position == kAbsent) return std::nullopt;
    return static_cast<std::size_t>(position);
  }
  // Decomposition never shortens a text, so a text with more scalars than the longest key
  // NFD cannot match.
  if (text::scalarCount(text) > longestNfd_) return std::nullopt;
  const auto it = byNfd_.find(canonicalKey(text));
  if (it == byNfd_.end()) return std::nullopt;
  return it->second;
}

std::string canonicalKey(std::string_view text) {
  return isKnownNfd(text) ? std::string(text) : text::nfd(text);
}

bool mayHoldAny(std::string_view text, std::span<const char32_t> scalars) {
  for (std::size_t i = 0; i < text.size();) {
    const char32_t c = nextFastScalar(text, i);
    if (c == kNotFast || info(c).decomposes) return true;
    if (std::find(scalars.begin(), scalars.end(), c) != scalars.end()) return true;
  }
  return false;
}

bool sameCharacter(std::string_view text, std::string_view other) {
  if (text == other) return true;
  const char32_t a = singleFastScalar(text);
  const char32_t b = singleFastScalar(other);
  if (a != kNotFast && b != kNotFast && !info(a).decomposes && !info(b).decomposes) {
    return false;
  }
  return canonicalKey(text) == canonicalKey(other);
}

char32_t onlyScalar(std::string_view text) {
  if (text.empty()) return 0;
  const char32_t c = text::firstScalar(text);
  if (c == text::kReplacementCharacter) return 0;
  const std::size_t length = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
  return length == text.size() ? c : 0;
}

bool isOneCharacter(std::string_view text) {
  return onlyScalar(text) != 0 || text::isSingleCharacter(text);
}

}  // namespace yakdrom::detail
