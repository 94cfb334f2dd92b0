#include "frontends/cli/TerminalInput.h"

#include <array>
#include <optional>

namespace yakdrom::cli {
namespace {

constexpr char kEsc = '\x1b';

struct ControlByte {
  char byte;
  TerminalInput::Kind kind;
  std::string_view notation;  // for keys
};

// Enter sends CR (LF from some terminals), Backspace DEL or BS. Raw mode turns off the
// terminal's own Ctrl-C and Ctrl-Z, so the pad does their work.
constexpr std::array<ControlByte, 8> kControlBytes = {{
    {'\x03', TerminalInput::Kind::cancel, ""},
    {'\x04', TerminalInput::Kind::finish, ""},
    {'\x1a', TerminalInput::Kind::suspend, ""},
    {'\t', TerminalInput::Kind::key, "{tab}"},
    {'\r', TerminalInput::Kind::key, "{return}"},
    {'\n', TerminalInput::Kind::key, "{return}"},
    {'\x7f', TerminalInput::Kind::key, "{delete}"},
    {'\b', TerminalInput::Kind::key, "{delete}"},
}};

struct ArrowFinal {
  char final;
  std::string_view name;
};

constexpr std::array<ArrowFinal, 4> kArrowFinals = {{
    {'A', "up"},
    {'B', "down"},
    {'C', "right"},
    {'D', "left"},
}};

KeyPress named(std::string_view notation) { return parseKeyNotation(notation).keys.front(); }

TerminalInput keyInput(KeyPress key) {
  key.written = formatKey(key);
  return {TerminalInput::Kind::key, std::move(key)};
}

// The input one byte sends by itself, if any.
std::optional<TerminalInput> singleByte(char byte) {
  for (const auto& control : kControlBytes) {
    if (control.byte != byte) continue;
    if (control.kind != TerminalInput::Kind::key) return TerminalInput{control.kind, {}};
    return keyInput(named(control.notation));
  }
  const auto value = static_cast<unsigned char>(byte);
  if (value <= 26) {
    // Ctrl-Space sends NUL, Ctrl-A to Ctrl-Y send 1 to 25.
    KeyPress key = *keyForCharacter(value == 0 ? ' ' : static_cast<char>('a' + value - 1));
    key.control = true;
    return keyInput(std::move(key));
  }
  if (auto key = keyForCharacter(byte)) return keyInput(std::move(*key));
  return std::nullopt;
}

// xterm's modifier parameter: 1 + Shift 1 + Alt 2 + Control 4 + Meta 8.
void applyModifiers(KeyPress& key, int parameter) {
  const int bits = parameter - 1;
  if (bits <= 0) return;
  key.shift = (bits & 1) != 0;
  key.option = (bits & (2 | 8)) != 0;
  key.control = (bits & 4) != 0;
}

// Parses the CSI or SS3 sequence that begins `bytes` (after ESC and '[' or 'O'). Returns its
// length, or nothing when it is not complete yet; `input` is set for an arrow key.
std::optional<std::size_t> controlSequence(std::string_view bytes,
                                           std::optional<TerminalInput>& input) {
  std::size_t i = 2;
  while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) >= 0x20 &&
         static_cast<unsigned char>(bytes[i]) <= 0x3F) {
    ++i;
  }
  if (i == bytes.size()) return std::nullopt;
  const char final = bytes[i];
  // A sequence broken off by another byte is dropped up to that byte.
  if (static_cast<unsigned char>(final) < 0x40 || static_cast<unsigned char>(final) > 0x7E) {
    return i;
  }
  // F1: "ESC O P" from xterm and most terminals, "ESC [ 1 1 ~" from rxvt and the VT220 family.
  const std::string_view body = bytes.substr(1, i);
  if (body == "OP" || body == "[11~") {
    input = TerminalInput{TerminalInput::Kind::help, {}};
    return i + 1;
  }
  for (const auto& arrow : kArrowFinals) {
    if (arrow.final != final) continue;
    KeyPress key = named("{" + std::string(arrow.name) + "}");
    const std::string_view parameters = bytes.substr(2, i - 2);
    if (const auto semicolon = parameters.find(';'); semicolon != std::string_view::npos) {
      int modifier = 0;
      for (const char c : parameters.substr(semicolon + 1)) {
        if (c >= '0' && c <= '9') modifier = modifier * 10 + (c - '0');
      }
      applyModifiers(key, modifier);
    }
    input = keyInput(std::move(key));
  }
  return i + 1;
}

// Decodes the ESC at the start of `bytes`; returns the bytes used, or nothing to wait for more.
std::optional<std::size_t> escape(std::string_view bytes, bool final,
                                  std::vector<TerminalInput>& inputs) {
  const auto lone = [&inputs] {
    inputs.push_back(keyInput(named("{escape}")));
    return std::size_t{1};
  };
  if (bytes.size() == 1) return final ? std::optional(lone()) : std::nullopt;
  const char next = bytes[1];
  if (next == '[' || next == 'O') {
    std::optional<TerminalInput> arrow;
    if (const auto length = controlSequence(bytes, arrow)) {
      if (arrow) inputs.push_back(std::move(*arrow));
      return length;
    }
    if (!final) return std::nullopt;
  }
  if (next == kEsc) return lone();
  auto input = singleByte(next);
  if (!input) return lone();
  if (input->kind != TerminalInput::Kind::key) {
    lone();
    inputs.push_back(std::move(*input));
    return 2;
  }
  input->key.option = true;
  inputs.push_back(keyInput(std::move(input->key)));
  return 2;
}

}  // namespace

DecodedInput decodeTerminalInput(std::string_view bytes, bool final) {
  DecodedInput out;
  while (out.consumed < bytes.size()) {
    const std::string_view rest = bytes.substr(out.consumed);
    if (rest.front() == kEsc) {
      const auto used = escape(rest, final, out.inputs);
      if (!used) break;
      out.consumed += *used;
      continue;
    }
    if (auto input = singleByte(rest.front())) out.inputs.push_back(std::move(*input));
    ++out.consumed;
  }
  return out;
}

}  // namespace yakdrom::cli
