#include "engine/composition/LegacyModes.h"

#include <algorithm>
#include <array>
#include <utility>

#include "engine/composition/HandlerSupport.h"
#include "engine/composition/LegacyTables.h"
#include "engine/composition/Letters.h"
#include "engine/composition/TibetanNormalizer.h"

namespace yakdrom::LegacyModes {
namespace {

namespace Special = CompositionEngine::Special;
using CompositionEngine::Result;

// Keys that end the mode and then act as they do outside it.
constexpr std::array<std::uint16_t, 5> kModeEnders{Special::kReturn, Special::kTab, Special::kSpace,
                                                   Special::kEscape, Special::kDelete};

Result apply(const LegacyTransition& transition, CompositionState cleared) {
  if (transition.kind == LegacyTransition::Kind::next) {
    cleared.legacyMode = transition.text;
  } else {
    cleared.syllable.free += transition.text;
  }
  return detail::markedResult(std::move(cleared));
}

// Mode "m" gives ཝ its subjoined form, which depends on the root (ྺ only under མ).
LegacyTransition fitToRoot(LegacyTransition transition, std::string_view keyText,
                           const SyllableModel& syllable) {
  if (transition.kind != LegacyTransition::Kind::output ||
      !detail::sameCharacter(keyText, detail::letters::kWa)) {
    return transition;
  }
  if (auto form = TibetanNormalizer::subjoinedForm(keyText, syllable.root)) {
    transition.text = std::move(*form);
  }
  return transition;
}

}  // namespace

std::optional<LegacyTransition> transition(const KeyInput& input, std::string_view mode,
                                           const SyllableModel& syllable) {
  if (input.layer == ModifierLayer::shiftOption ||
      std::find(kModeEnders.begin(), kModeEnders.end(), input.keyCode) != kModeEnders.end()) {
    return std::nullopt;
  }
  if (const auto action = CompositionEngine::stateEntryAction(input)) {
    return LegacyTables::transition(*action, mode);
  }
  const auto text = CompositionEngine::directChar(input);
  if (!text || !detail::isOneCharacter(*text)) return std::nullopt;
  auto t = LegacyTables::transition(*text, mode);
  if (!t) return std::nullopt;
  return fitToRoot(std::move(*t), *text, syllable);
}

Result handle(const KeyInput& input, const CompositionState& state) {
  if (!state.legacyMode) return CompositionEngine::handle(input, state);
  CompositionState cleared = state;
  cleared.legacyMode.reset();
  if (input.layer == ModifierLayer::shiftOption) {
    return {EngineOutput::makePassthrough(), std::move(cleared)};
  }
  if (auto t = transition(input, *state.legacyMode, state.syllable)) {
    return apply(*t, std::move(cleared));
  }
  return CompositionEngine::handle(input, cleared);
}

}  // namespace yakdrom::LegacyModes
