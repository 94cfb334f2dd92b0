// The key notation of the command line: printable ASCII characters are the US ANSI keys
// that type them, braced names are special keys or chords ({return}, {opt+m}). Keys carry
// macOS virtual key codes, which is what the engine reads.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/composition/KeyInput.h"
#include "ime/controller/ModifierFlags.h"

namespace yakdrom::cli {

struct KeyPress {
  std::uint16_t keyCode = 0;
  bool shift = false;
  bool option = false;
  bool control = false;
  bool command = false;
  bool capsLock = false;  // carried to the input method, which ignores it
  std::string written;    // the key as it stood in the input

  /// Returns true for Control or Command chords, which never reach the engine.
  [[nodiscard]] bool isChord() const { return control || command; }
  /// Returns the engine's view of the key: its code and its Shift/Option layer.
  [[nodiscard]] KeyInput input() const { return {keyCode, modifierLayer(shift, option)}; }
  /// Returns the modifier flags a real event of this key carries; arrow keys always carry
  /// the numeric-pad and function flags.
  [[nodiscard]] ModifierFlags flags() const;

  friend bool operator==(const KeyPress& a, const KeyPress& b) {
    return a.keyCode == b.keyCode && a.shift == b.shift && a.option == b.option &&
           a.control == b.control && a.command == b.command && a.capsLock == b.capsLock;
  }
};

struct ParsedKeys {
  std::vector<KeyPress> keys;
  std::optional<std::string> error;  // one line naming the offending key and its position
};

/// Parses `notation` into key presses, or returns an error for the first bad key.
[[nodiscard]] ParsedKeys parseKeyNotation(std::string_view notation);

/// Returns the key that types the printable ASCII character `c` (Shift for uppercase and
/// shifted symbols), or nothing for any other character.
[[nodiscard]] std::optional<KeyPress> keyForCharacter(char c);

/// Returns the shortest notation for `key` (a letter, a shifted symbol or a braced name).
[[nodiscard]] std::string formatKey(const KeyPress& key);

/// Returns the notation of a whole sequence.
[[nodiscard]] std::string formatKeys(const std::vector<KeyPress>& keys);

/// Returns the key press for `keyCode` with the given layer, written in canonical form.
[[nodiscard]] KeyPress makeKey(std::uint16_t keyCode, ModifierLayer layer);

}  // namespace yakdrom::cli
