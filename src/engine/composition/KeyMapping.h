// The fixed keyboard layout: one key-code -> text table per modifier layer and the keys
// that enter dead-key modes. Built once on first use, thread-safely; never changed.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "engine/composition/KeyInput.h"

namespace yakdrom {

/// Key code -> text (one Unicode scalar each) of one layer, ordered by key code.
using KeyTable = std::map<std::uint16_t, std::string>;

/// Layer name ("base", "shift", ...) -> key code -> dead-key mode name.
using StateEntryTable = std::map<std::string, KeyTable, std::less<>>;

namespace KeyMapping {

/// Returns the layer without modifiers (47 keys).
[[nodiscard]] const KeyTable& base();
/// Returns the Shift layer (47 keys).
[[nodiscard]] const KeyTable& shift();
/// Returns the Option layer (48 keys).
[[nodiscard]] const KeyTable& option();
/// Returns the Shift+Option layer, which is empty.
[[nodiscard]] const KeyTable& shiftOption();
/// Returns the table of `layer`.
[[nodiscard]] const KeyTable& table(ModifierLayer layer);
/// Returns the dead-key entries: the M key gives "m" in "base" and "M" in "shift".
[[nodiscard]] const StateEntryTable& stateEntries();

}  // namespace KeyMapping
}  // namespace yakdrom
