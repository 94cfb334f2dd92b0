// The vowel rule of the composition engine: a vowel sign decides what a pending suffix
// letter was. ར or ལ that may stand under the root becomes subjoined (ཀ ར ◌ི -> ཀྲི);
// any other suffix becomes the root and the old root its prefix (ག ས ◌ུ -> གསུ).
#include <algorithm>
#include <array>
#include <utility>

#include "engine/composition/CompositionEngine.h"
#include "engine/composition/HandlerSupport.h"
#include "engine/composition/Letters.h"
#include "engine/composition/Orthography.h"

namespace yakdrom::CompositionEngine {
namespace {

namespace letters = detail::letters;
using detail::holds;
using detail::sameCharacter;

// ◌ཱ followed by ◌ི or ◌ུ spells one long vowel; any other second vowel starts a syllable.
bool lengthensVowel(const std::string& last, std::string_view v) {
  return sameCharacter(last, letters::kAa) &&
         (sameCharacter(v, letters::kI) || sameCharacter(v, letters::kU));
}

Result startSyllableWithVowel(std::string_view v, const CompositionState& state) {
  CompositionState next;
  next.syllable.free = std::string(v);
  next.legacyMode = state.legacyMode;
  return {EngineOutput::makeCommitThenMark(state.syllable.serialized(), std::string(v)),
          std::move(next)};
}

// Settles the suffix before a vowel. Returns the prefix letter that the re-reading pushes
// out of the syllable, if any: it has no slot left and must be committed, not dropped.
std::optional<std::string> settleSuffix(SyllableModel& s) {
  if (!s.suffix) return std::nullopt;
  const bool foot = holds(s.suffix, letters::kRa) || holds(s.suffix, letters::kLa);
  if (foot && s.root && Orthography::canSubjoin(*s.root, *s.suffix)) {
    s.subjoined.push_back(*s.suffix);
    s.suffix.reset();
    sortSubjoined(s.subjoined);
    return std::nullopt;
  }
  std::optional<std::string> displaced = std::exchange(s.prefix, std::move(s.root));
  s.root = std::exchange(s.suffix, std::move(s.postsuffix));
  s.postsuffix.reset();
  return displaced;
}

}  // namespace

Result handleVowel(std::string_view v, const CompositionState& state) {
  const SyllableModel& s = state.syllable;
  if (s.root && !s.vowels.empty() && !lengthensVowel(s.vowels.back(), v)) {
    return startSyllableWithVowel(v, state);
  }
  CompositionState next = state;
  next.avoidedStack.reset();
  if (!s.root) {
    // Before any consonant the sign waits in `free`; serialisation writes it after the
    // consonant typed next.
    next.syllable.free += v;
    return detail::markedResult(std::move(next));
  }
  auto displaced = settleSuffix(next.syllable);
  next.syllable.vowels.push_back(v);
  if (!displaced) return detail::markedResult(std::move(next));
  auto marked = next.syllable.serialized();
  return {EngineOutput::makeCommitThenMark(std::move(*displaced), std::move(marked)),
          std::move(next)};
}

void sortSubjoined(LetterList& subjoined) {
  static constexpr std::array<std::string_view, 4> kFootOrder{letters::kYa, letters::kRa,
                                                              letters::kLa, letters::kWa};
  const auto rank = [](const std::string& letter) {
    const auto it = std::find_if(kFootOrder.begin(), kFootOrder.end(), [&](std::string_view foot) {
      return sameCharacter(letter, foot);
    });
    return it == kFootOrder.end() ? 9 : static_cast<int>(it - kFootOrder.begin());
  };
  // Insertion keeps typing order within a rank without the buffer a stable sort takes.
  const auto byRank = [&](const std::string& a, const std::string& b) { return rank(a) < rank(b); };
  for (auto* next = subjoined.begin(); next != subjoined.end(); ++next) {
    std::rotate(std::upper_bound(subjoined.begin(), next, *next, byRank), next, next + 1);
  }
}

}  // namespace yakdrom::CompositionEngine
