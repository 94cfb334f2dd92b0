// The dead-key modes entered with the M key: while a mode is active the next key is
// looked up in the dead-key action table and its output appended to the syllable.
#pragma once

#include <optional>
#include <string_view>

#include "engine/composition/CompositionEngine.h"
#include "engine/composition/LegacyTables.h"

namespace yakdrom::LegacyModes {

/// Returns the transition `input` takes in dead-key `mode` over `syllable`, or nothing when
/// the mode does not consume it (then the key acts as it does outside the mode). Shift+Option
/// and the keys that end a mode (Return, Tab, Space, Escape, Delete) are never consumed.
[[nodiscard]] std::optional<LegacyTransition> transition(const KeyInput& input,
                                                         std::string_view mode,
                                                         const SyllableModel& syllable);

/// Returns the result of `input` in the state's dead-key mode; keys the mode does not
/// consume are handled normally with the mode dropped.
[[nodiscard]] CompositionEngine::Result handle(const KeyInput& input,
                                               const CompositionState& state);

}  // namespace yakdrom::LegacyModes
