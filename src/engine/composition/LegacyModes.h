// The dead-key modes entered with the M key: while a mode is active the next key is
// looked up in the dead-key action table and its output appended to the syllable.
#pragma once

#include "engine/composition/CompositionEngine.h"

namespace yakdrom::LegacyModes {

/// Returns the result of `input` in the state's dead-key mode; keys the mode does not
/// consume are handled normally with the mode dropped.
[[nodiscard]] CompositionEngine::Result handle(const KeyInput& input,
                                               const CompositionState& state);

}  // namespace yakdrom::LegacyModes
