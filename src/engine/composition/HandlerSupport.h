// Small pieces shared by the composition engine's handlers.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/composition/CanonicalIndex.h"
#include "engine/composition/CompositionEngine.h"

namespace yakdrom::detail {

/// Returns the instruction to show the state's syllable as marked text, with the state.
[[nodiscard]] CompositionEngine::Result markedResult(CompositionState state);

/// Returns true when `character` is set and canonically equal to `letter`.
[[nodiscard]] inline bool holds(const std::optional<std::string>& character,
                                std::string_view letter) {
  return character && sameCharacter(*character, letter);
}

}  // namespace yakdrom::detail
