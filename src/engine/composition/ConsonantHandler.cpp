// The consonant rules of the composition engine. Letters go into flat slots (root,
// prefix, suffix, second suffix); whether a suffix is really a subjoined letter or the
// next root is settled only when a vowel arrives (VowelHandler.cpp).
#include <algorithm>
#include <utility>

#include "engine/composition/CompositionEngine.h"
#include "engine/composition/HandlerSupport.h"
#include "engine/composition/Letters.h"
#include "engine/composition/Orthography.h"
#include "engine/composition/TibetanNormalizer.h"

namespace yakdrom::CompositionEngine {
namespace {

namespace letters = detail::letters;
using detail::sameCharacter;

Result withSlot(const CompositionState& state, std::optional<std::string> SyllableModel::*slot,
                std::string_view c) {
  CompositionState next = state;
  next.syllable.*slot = std::string(c);
  next.avoidedStack.reset();
  return detail::markedResult(std::move(next));
}

// A stack typed through the dead key, with no root yet, keeps growing downwards; the
// stack it continues is not a deleted one, so the avoided stack stays.
Result placeWithoutRoot(std::string_view c, const CompositionState& state) {
  if (state.syllable.manualStackActive()) {
    if (auto form = TibetanNormalizer::subjoinedForm(c)) {
      CompositionState next = state;
      next.syllable.free += *form;
      return detail::markedResult(std::move(next));
    }
  }
  return withSlot(state, &SyllableModel::root, c);
}

// ཡ and ཝ continue a hand-typed stack by themselves, at most two letters deep.
bool continuesManualStack(const SyllableModel& s, std::string_view c) {
  if (!s.manualStackActive()) return false;
  if (!sameCharacter(c, letters::kYa) && !sameCharacter(c, letters::kWa)) return false;
  return s.subjoined.size() <= 1 &&
         std::none_of(s.subjoined.begin(), s.subjoined.end(),
                      [c](const std::string& sub) { return sameCharacter(sub, c); });
}

// A bare root that may be a prefix letter becomes one when the next letter can only be
// a root. ག before ཡ is a prefix too (གཡ), although ཡ could be subjoined.
bool readsAsPrefix(const SyllableModel& s, std::string_view c) {
  const bool gaBeforeFoot = detail::holds(s.root, letters::kGa) &&
                            (sameCharacter(c, letters::kLa) || sameCharacter(c, letters::kYa));
  return !s.prefix && !s.superscript && s.subjoined.empty() && !s.postsuffix &&
         Orthography::prefixes().contains(*s.root) && !Orthography::superscripts().contains(c) &&
         (gaBeforeFoot || !Orthography::subjoinable().contains(c)) &&
         !Orthography::suffixes().contains(c);
}

Result placeAfterBareRoot(std::string_view c, const CompositionState& state) {
  const SyllableModel& s = state.syllable;
  if (continuesManualStack(s, c)) {
    CompositionState next = state;
    const auto form = TibetanNormalizer::subjoinedForm(c, s.root);
    next.syllable.free += form ? std::string_view(*form) : c;
    next.avoidedStack.reset();
    return detail::markedResult(std::move(next));
  }
  if (Orthography::suffixes().contains(c)) return withSlot(state, &SyllableModel::suffix, c);
  if (readsAsPrefix(s, c)) {
    CompositionState next = state;
    next.syllable.prefix = std::move(next.syllable.root);
    next.syllable.root = std::string(c);
    next.avoidedStack.reset();
    return detail::markedResult(std::move(next));
  }
  return splitSyllable(state, c);
}

// Only ས follows a first suffix, and only after ག ད བ ས.
Result placeAfterSuffix(std::string_view c, const CompositionState& state) {
  const SyllableModel& s = state.syllable;
  if (!s.postsuffix && sameCharacter(c, letters::kSa) &&
      Orthography::postsuffixAfter().contains(*s.suffix)) {
    return withSlot(state, &SyllableModel::postsuffix, c);
  }
  return splitSyllable(state, c);
}

}  // namespace

Result handleConsonant(std::string_view c, const CompositionState& state) {
  const SyllableModel& s = state.syllable;
  if (!s.root) return placeWithoutRoot(c, state);
  if (s.suffix) return placeAfterSuffix(c, state);
  if (s.vowels.empty()) return placeAfterBareRoot(c, state);
  if (Orthography::suffixes().contains(c)) return withSlot(state, &SyllableModel::suffix, c);
  return splitSyllable(state, c);
}

Result splitSyllable(const CompositionState& state, std::string_view newRoot) {
  CompositionState next;
  next.syllable.root = std::string(newRoot);
  next.legacyMode = state.legacyMode;
  auto marked = next.syllable.serialized();
  return {EngineOutput::makeCommitThenMark(state.syllable.serialized(), std::move(marked)),
          std::move(next)};
}

}  // namespace yakdrom::CompositionEngine
