#include "frontends/cli/KeyNotation.h"

#include <array>
#include <string>

namespace yakdrom::cli {
namespace {

struct AsciiKey {
  char plain;
  char shifted;
  std::uint16_t code;
};

// The US ANSI keyboard by macOS virtual key code.
constexpr std::array<AsciiKey, 47> kAsciiKeys = {{
    {'a', 'A', 0},   {'s', 'S', 1},  {'d', 'D', 2},   {'f', 'F', 3},  {'h', 'H', 4},
    {'g', 'G', 5},   {'z', 'Z', 6},  {'x', 'X', 7},   {'c', 'C', 8},  {'v', 'V', 9},
    {'b', 'B', 11},  {'q', 'Q', 12}, {'w', 'W', 13},  {'e', 'E', 14}, {'r', 'R', 15},
    {'y', 'Y', 16},  {'t', 'T', 17}, {'1', '!', 18},  {'2', '@', 19}, {'3', '#', 20},
    {'4', '$', 21},  {'6', '^', 22}, {'5', '%', 23},  {'=', '+', 24}, {'9', '(', 25},
    {'7', '&', 26},  {'-', '_', 27}, {'8', '*', 28},  {'0', ')', 29}, {']', '}', 30},
    {'o', 'O', 31},  {'u', 'U', 32}, {'[', '{', 33},  {'i', 'I', 34}, {'p', 'P', 35},
    {'l', 'L', 37},  {'j', 'J', 38}, {'\'', '"', 39}, {'k', 'K', 40}, {';', ':', 41},
    {'\\', '|', 42}, {',', '<', 43}, {'/', '?', 44},  {'n', 'N', 45}, {'m', 'M', 46},
    {'.', '>', 47},  {'`', '~', 50},
}};

struct NamedKey {
  std::string_view name;
  std::uint16_t code;
};

constexpr std::array<NamedKey, 9> kNamedKeys = {{
    {"space", 49},
    {"return", 36},
    {"tab", 48},
    {"delete", 51},
    {"escape", 53},
    {"left", 123},
    {"right", 124},
    {"down", 125},
    {"up", 126},
}};

constexpr std::uint16_t kFirstArrowKeyCode = 123;
constexpr std::uint16_t kLastArrowKeyCode = 126;

std::optional<KeyPress> namedKey(std::string_view name) {
  for (const auto& k : kNamedKeys) {
    if (name == k.name) {
      KeyPress key;
      key.keyCode = k.code;
      return key;
    }
  }
  if (name.size() == 1) return keyForCharacter(name[0]);
  return std::nullopt;
}

std::optional<KeyPress> bracedKey(std::string_view body) {
  KeyPress mods;
  for (bool again = true; again;) {
    again = false;
    for (auto [prefix, flag] : {std::pair{std::string_view("shift+"), &mods.shift},
                                std::pair{std::string_view("opt+"), &mods.option},
                                std::pair{std::string_view("ctrl+"), &mods.control},
                                std::pair{std::string_view("cmd+"), &mods.command},
                                std::pair{std::string_view("caps+"), &mods.capsLock}}) {
      if (body.size() > prefix.size() && body.starts_with(prefix)) {
        *flag = true;
        body.remove_prefix(prefix.size());
        again = true;
      }
    }
  }
  auto key = namedKey(body);
  if (!key) return std::nullopt;
  key->shift = key->shift || mods.shift;
  key->option = mods.option;
  key->control = mods.control;
  key->command = mods.command;
  key->capsLock = mods.capsLock;
  return key;
}

std::string errorAt(std::string_view what, std::size_t position) {
  return "unknown key \"" + std::string(what) + "\" at position " + std::to_string(position + 1);
}

}  // namespace

std::optional<KeyPress> keyForCharacter(char c) {
  KeyPress key;
  key.written = std::string(1, c);
  if (c == ' ') {
    key.keyCode = 49;
    return key;
  }
  for (const auto& k : kAsciiKeys) {
    if (c == k.plain || c == k.shifted) {
      key.keyCode = k.code;
      key.shift = c == k.shifted;
      return key;
    }
  }
  return std::nullopt;
}

ModifierFlags KeyPress::flags() const {
  ModifierFlags flags = 0;
  if (shift) flags |= kShiftFlag;
  if (option) flags |= kOptionFlag;
  if (control) flags |= kControlFlag;
  if (command) flags |= kCommandFlag;
  if (capsLock) flags |= kCapsLockFlag;
  if (keyCode >= kFirstArrowKeyCode && keyCode <= kLastArrowKeyCode) {
    flags |= kNumericPadFlag | kFunctionFlag;
  }
  return flags;
}

ParsedKeys parseKeyNotation(std::string_view notation) {
  ParsedKeys out;
  for (std::size_t i = 0; i < notation.size();) {
    const char c = notation[i];
    if (c == '{') {
      const std::size_t close = notation.find('}', i + 1);
      if (close == std::string_view::npos) {
        out.error = "unclosed \"{\" at position " + std::to_string(i + 1);
        return out;
      }
      const std::string_view written = notation.substr(i, close - i + 1);
      auto key = bracedKey(notation.substr(i + 1, close - i - 1));
      if (!key) {
        out.error = errorAt(written, i);
        return out;
      }
      key->written = std::string(written);
      out.keys.push_back(std::move(*key));
      i = close + 1;
      continue;
    }
    auto key = c == '}' ? std::nullopt : keyForCharacter(c);
    if (!key) {
      std::size_t len = 1;
      while (i + len < notation.size() &&
             (static_cast<unsigned char>(notation[i + len]) & 0xC0) == 0x80)
        ++len;
      out.error = errorAt(notation.substr(i, len), i);
      return out;
    }
    out.keys.push_back(std::move(*key));
    ++i;
  }
  return out;
}

KeyPress makeKey(std::uint16_t keyCode, ModifierLayer layer) {
  KeyPress k;
  k.keyCode = keyCode;
  k.shift = layer == ModifierLayer::shift || layer == ModifierLayer::shiftOption;
  k.option = layer == ModifierLayer::option || layer == ModifierLayer::shiftOption;
  k.written = formatKey(k);
  return k;
}

std::string formatKey(const KeyPress& key) {
  std::string name;
  for (const auto& k : kNamedKeys) {
    if (k.code == key.keyCode) name = std::string(k.name);
  }
  for (const auto& k : kAsciiKeys) {
    if (k.code != key.keyCode) continue;
    const char typed = key.shift ? k.shifted : k.plain;
    // Braces always open and close names, so the keys that type them are written as names.
    if (!key.option && !key.isChord() && !key.capsLock && typed != '{' && typed != '}')
      return std::string(1, typed);
    name = std::string(1, k.plain);
  }
  std::string out = "{";
  if (key.shift) out += "shift+";
  if (key.option) out += "opt+";
  if (key.control) out += "ctrl+";
  if (key.command) out += "cmd+";
  if (key.capsLock) out += "caps+";
  return out + name + "}";
}

std::string formatKeys(const std::vector<KeyPress>& keys) {
  std::string out;
  for (const auto& k : keys) out += formatKey(k);
  return out;
}

}  // namespace yakdrom::cli
