// Turns the bytes a terminal sends for key presses into key presses of the key notation:
// letters and symbols as on the US keyboard, Alt or Meta (an ESC in front) as Option, the
// arrow keys with their modifiers, Backspace as Delete, Enter as Return, Tab, a lone ESC as
// Escape, Control letters as Control chords; Ctrl-D and Ctrl-C end the pad and Ctrl-Z
// suspends it, as in a shell; F1 asks for help. Any thread.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "frontends/cli/KeyNotation.h"

namespace yakdrom::cli {

struct TerminalInput {
  enum class Kind { key, finish, cancel, suspend, help };
  Kind kind = Kind::key;
  KeyPress key;  // for Kind::key

  friend bool operator==(const TerminalInput&, const TerminalInput&) = default;
};

struct DecodedInput {
  std::vector<TerminalInput> inputs;
  /// How many bytes were used; the rest begin an escape sequence still arriving.
  std::size_t consumed = 0;
};

/// Decodes `bytes`. An escape sequence cut short at the end is left for later, unless
/// `final` says no more bytes came within a short wait: a lone ESC is then the Escape key.
/// Bytes that no key of the notation sends (other escape sequences, non-ASCII text) are
/// dropped.
[[nodiscard]] DecodedInput decodeTerminalInput(std::string_view bytes, bool final);

}  // namespace yakdrom::cli
