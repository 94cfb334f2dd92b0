#include "engine/composition/TibetanNormalizer.h"

#include <algorithm>
#include <array>
#include <utility>

#include "engine/composition/CanonicalIndex.h"
#include "engine/composition/LegacyTables.h"
#include "engine/composition/Letters.h"
#include "engine/composition/Orthography.h"
#include "engine/text/Text.h"

namespace yakdrom::TibetanNormalizer {
namespace {

namespace letters = detail::letters;

struct Decomposition {
  std::string_view from;
  std::string_view to;
};

constexpr std::array<Decomposition, 19> kDecompositions{{
    {"\u0F43", "\u0F42\u0FB7"},       {"\u0F4D", "\u0F4C\u0FB7"}, {"\u0F52", "\u0F51\u0FB7"},
    {"\u0F57", "\u0F56\u0FB7"},       {"\u0F5C", "\u0F5B\u0FB7"}, {"\u0F69", "\u0F40\u0FB5"},
    {"\u0F93", "\u0F92\u0FB7"},       {"\u0F9D", "\u0F9C\u0FB7"}, {"\u0FA2", "\u0FA1\u0FB7"},
    {"\u0FA7", "\u0FA6\u0FB7"},       {"\u0FAC", "\u0FAB\u0FB7"}, {"\u0FB9", "\u0F90\u0FB5"},
    {"\u0F73", "\u0F71\u0F72"},       {"\u0F75", "\u0F71\u0F74"}, {"\u0F76", "\u0FB2\u0F80"},
    {"\u0F78", "\u0FB3\u0F80"},       {"\u0F81", "\u0F71\u0F80"}, {"\u0F77", "\u0F71\u0FB2\u0F80"},
    {"\u0F79", "\u0F71\u0FB3\u0F80"},
}};

// The NFD of every key above holds one of these, so text without them (and without
// anything that decomposes) has nothing to replace. DecompositionIndex checks the claim.
constexpr std::array<char32_t, 6> kKeyMarkers{0x0F71, 0x0F77, 0x0F79, 0x0F80, 0x0FB5, 0x0FB7};

constexpr char32_t kSubjoinedOffset = 0x50;  // ཀ U+0F40 -> ྐ U+0F90
constexpr char32_t kFirstOffsetLetter = 0x0F40;
constexpr char32_t kLastOffsetLetter = 0x0F6C;

struct DecompositionIndex {
  detail::CanonicalIndex index;
  bool markersCoverKeys = true;

  static std::vector<std::string> keys() {
    std::vector<std::string> out;
    out.reserve(kDecompositions.size());
    for (const Decomposition& d : kDecompositions) out.emplace_back(d.from);
    return out;
  }

  DecompositionIndex() : index(keys()) {
    for (const Decomposition& d : kDecompositions) {
      const std::u32string nfd = text::decodeUtf8(text::nfd(d.from));
      markersCoverKeys =
          markersCoverKeys && std::any_of(nfd.begin(), nfd.end(), [](char32_t c) {
            return std::find(kKeyMarkers.begin(), kKeyMarkers.end(), c) != kKeyMarkers.end();
          });
    }
  }
};

const DecompositionIndex& decompositionIndex() {
  static const DecompositionIndex index;
  return index;
}

// The dead-key table's "m" column holds the subjoined form of every letter it lists.
std::optional<std::string> subjoinedFromDeadKeys(std::string_view letter) {
  auto t = LegacyTables::transition(letter, "m");
  if (!t || t->kind != LegacyTransition::Kind::output) return std::nullopt;
  if (!detail::isOneCharacter(t->text)) return std::nullopt;
  if (!letters::isSubjoinedScalar(text::firstScalar(t->text))) return std::nullopt;
  return std::move(t->text);
}

}  // namespace

const DecomposeMap& decomposeMap() {
  static const DecomposeMap map = [] {
    DecomposeMap m;
    for (const Decomposition& d : kDecompositions) m.emplace(d.from, d.to);
    return m;
  }();
  return map;
}

std::optional<std::string> subjoinedForm(std::string_view letter,
                                         std::optional<std::string_view> root) {
  // Under མ the fixed-form subjoined wa is written; everywhere else the wa-zur.
  if (detail::sameCharacter(letter, letters::kWa)) {
    const bool underMa = root && detail::sameCharacter(*root, letters::kMa);
    return std::string(underMa ? "\u0FBA" : "\u0FAD");
  }
  if (auto form = subjoinedFromDeadKeys(letter)) return form;
  const char32_t c = text::firstScalar(letter);
  if (c < kFirstOffsetLetter || c > kLastOffsetLetter) return std::nullopt;
  if (!Orthography::consonants().contains(letter)) return std::nullopt;
  std::string form;
  text::appendUtf8(form, c + kSubjoinedOffset);
  return form;
}

std::string orderVowels(const LetterList& vowels) {
  std::string out;
  for (const std::string& v : vowels) {
    if (text::firstScalar(v) == letters::kAaScalar) out += v;
  }
  for (const std::string& v : vowels) {
    if (text::firstScalar(v) != letters::kAaScalar) out += v;
  }
  return out;
}

std::string normalize(std::string_view text) {
  const DecompositionIndex& decompositions = decompositionIndex();
  if (decompositions.markersCoverKeys && !detail::mayHoldAny(text, kKeyMarkers)) {
    return std::string(text);
  }
  const detail::CanonicalIndex& index = decompositions.index;
  std::string out;
  out.reserve(text.size() + 8);
  for (std::string_view character : text::characters(text)) {
    const auto position = index.find(character);
    out += position ? kDecompositions[*position].to : character;
  }
  return out;
}

}  // namespace yakdrom::TibetanNormalizer
