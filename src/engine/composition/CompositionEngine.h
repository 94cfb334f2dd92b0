// The composition engine: pure functions from (key, state) to (client instruction, next
// state). Holds no mutable state; every function may be called from any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/composition/CompositionState.h"
#include "engine/composition/EngineOutput.h"
#include "engine/composition/KeyCode.h"
#include "engine/composition/KeyInput.h"

namespace yakdrom::CompositionEngine {

struct Result {
  EngineOutput output{};
  CompositionState state{};

  friend bool operator==(const Result&, const Result&) = default;
};

/// Key codes the dispatch handles before it consults the layout.
namespace Special {
inline constexpr std::uint16_t kReturn = KeyCode::kReturn;
inline constexpr std::uint16_t kTsheg = KeyCode::kJ;
inline constexpr std::uint16_t kSheg = KeyCode::kQuote;
inline constexpr std::uint16_t kTab = KeyCode::kTab;
inline constexpr std::uint16_t kSpace = KeyCode::kSpace;
inline constexpr std::uint16_t kDelete = KeyCode::kDelete;
inline constexpr std::uint16_t kEscape = KeyCode::kEscape;
inline constexpr std::uint16_t kStateKey = KeyCode::kM;
}  // namespace Special

/// Returns what the client must do for `input` and the state that follows `state`.
[[nodiscard]] Result handle(const KeyInput& input, const CompositionState& state);

/// Returns the layout's text for the key in its layer, or nothing when the key has none.
[[nodiscard]] std::optional<std::string> directChar(const KeyInput& input);

/// Returns the separator (tsheg or shad) the key types in every layer but Shift+Option, or
/// nothing for a key that is no separator key.
[[nodiscard]] std::optional<std::string_view> separatorOf(std::uint16_t keyCode);

/// Returns the dead-key mode ("m" or "M") the key enters in its layer, or nothing.
[[nodiscard]] std::optional<std::string> stateEntryAction(const KeyInput& input);

/// Places consonant `c` (typed without Shift) in the syllable, or starts a new syllable.
[[nodiscard]] Result handleConsonant(std::string_view c, const CompositionState& state);

/// Commits the syllable and starts a new one whose root is `newRoot`.
[[nodiscard]] Result splitSyllable(const CompositionState& state, std::string_view newRoot);

/// Adds vowel sign `v`, settling whether a pending suffix is subjoined or the new root.
[[nodiscard]] Result handleVowel(std::string_view v, const CompositionState& state);

/// Commits the syllable followed by `separator` (tsheg or shad), or the separator alone.
[[nodiscard]] Result handleSeparator(std::string_view separator, const CompositionState& state);

/// Removes the last piece of the syllable, or lets the key through when it is empty.
[[nodiscard]] Result handleDelete(const CompositionState& state);

/// Commits the syllable (letting the key through when `passthroughKey`), or lets the key
/// through when the syllable is empty.
[[nodiscard]] Result flushBuffer(const CompositionState& state, bool passthroughKey);

/// Commits the syllable followed by `appending` in one insertion.
[[nodiscard]] Result flushWith(const CompositionState& state, std::string_view appending);

/// Orders subjoined letters ya, ra, la, wa, then any other, keeping typing order within a rank.
void sortSubjoined(LetterList& subjoined);

}  // namespace yakdrom::CompositionEngine
