#include "engine/composition/CompositionEngine.h"

#include <utility>

#include "engine/composition/HandlerSupport.h"
#include "engine/composition/KeyMapping.h"
#include "engine/composition/LegacyModes.h"
#include "engine/composition/Letters.h"
#include "engine/composition/Orthography.h"
#include "engine/text/Text.h"

namespace yakdrom {

namespace detail {

CompositionEngine::Result markedResult(CompositionState state) {
  auto text = state.syllable.serialized();
  return {EngineOutput::makeMarked(std::move(text)), std::move(state)};
}

}  // namespace detail

namespace CompositionEngine {
namespace {

namespace letters = detail::letters;

// The dead key enters its mode. A suffix without a vowel moves to `free` first, so that
// a hand-typed stack continues under that letter rather than under the root.
std::optional<Result> enterDeadKeyMode(const KeyInput& input, const CompositionState& state) {
  if (input.keyCode != Special::kStateKey) return std::nullopt;
  auto mode = stateEntryAction(input);
  if (!mode) return std::nullopt;
  CompositionState next = state;
  SyllableModel& s = next.syllable;
  if (s.suffix && s.vowels.empty()) {
    s.free += *s.suffix;
    if (s.postsuffix) s.free += *s.postsuffix;
    s.suffix.reset();
    s.postsuffix.reset();
  }
  next.legacyMode = std::move(mode);
  return detail::markedResult(std::move(next));
}

std::optional<Result> handleControlKey(std::uint16_t keyCode, const CompositionState& state) {
  switch (keyCode) {
    case Special::kReturn:
    case Special::kTab:
    case Special::kSpace:
      return flushBuffer(state, true);
    case Special::kTsheg:
    case Special::kSheg:
      return handleSeparator(*separatorOf(keyCode), state);
    case Special::kDelete:
      return handleDelete(state);
    case Special::kEscape:
      return flushBuffer(state, false);
    default:
      return std::nullopt;
  }
}

Result handleCharacterKey(const KeyInput& input, const CompositionState& state) {
  const auto text = directChar(input);
  if (!text || !detail::isOneCharacter(*text)) return flushBuffer(state, true);
  // Option-layer characters (compound vowels and subjoined letters among them) and digits
  // are never composed: they go out together with the syllable.
  if (input.layer == ModifierLayer::option || letters::isDigitScalar(text::firstScalar(*text))) {
    return flushWith(state, *text);
  }
  if (Orthography::vowels().contains(*text)) return handleVowel(*text, state);
  if (input.layer != ModifierLayer::shift && Orthography::consonants().contains(*text)) {
    return handleConsonant(*text, state);
  }
  return flushWith(state, *text);
}

}  // namespace

Result handle(const KeyInput& input, const CompositionState& state) {
  if (input.layer == ModifierLayer::shiftOption) {
    return {EngineOutput::makePassthrough(), state};
  }
  if (state.legacyMode) return LegacyModes::handle(input, state);
  if (auto entered = enterDeadKeyMode(input, state)) return std::move(*entered);
  if (auto handled = handleControlKey(input.keyCode, state)) return std::move(*handled);
  return handleCharacterKey(input, state);
}

std::optional<std::string> directChar(const KeyInput& input) {
  const KeyTable& table = KeyMapping::table(input.layer);
  const auto it = table.find(input.keyCode);
  if (it == table.end()) return std::nullopt;
  return it->second;
}

std::optional<std::string_view> separatorOf(std::uint16_t keyCode) {
  switch (keyCode) {
    case Special::kTsheg:
      return letters::kTsheg;
    case Special::kSheg:
      return letters::kShad;
    default:
      return std::nullopt;
  }
}

std::optional<std::string> stateEntryAction(const KeyInput& input) {
  const StateEntryTable& entries = KeyMapping::stateEntries();
  const auto layer = entries.find(layerName(input.layer));
  if (layer == entries.end()) return std::nullopt;
  const auto it = layer->second.find(input.keyCode);
  if (it == layer->second.end()) return std::nullopt;
  return it->second;
}

}  // namespace CompositionEngine
}  // namespace yakdrom
