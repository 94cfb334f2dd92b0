#include "frontends/cli/KeyNotation.h"

#include <string>

#include "engine/composition/KeyCode.h"

namespace yakdrom::cli {
namespace {

std::optional<KeyPress> namedKey(std::string_view name) {
  for (const auto& k : KeyCode::kNamedKeys) {
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

// Braces always open and close names and a space is easily missed, so the keys that type
// them are written as names, as are keys held with anything but Shift.
bool isWrittenBare(const KeyPress& key, char typed) {
  return typed != 0 && typed != '{' && typed != '}' && typed != ' ' && !key.option &&
         !key.isChord() && !key.capsLock;
}

std::string errorAt(std::string_view what, std::size_t position) {
  return "unknown key \"" + std::string(what) + "\" at position " + std::to_string(position + 1);
}

}  // namespace

std::optional<KeyPress> keyForCharacter(char c) {
  if (c == 0) return std::nullopt;
  for (const auto& k : KeyCode::kNamedKeys) {
    if (c == k.plain || c == k.shifted) {
      KeyPress key;
      key.keyCode = k.code;
      key.shift = c != k.plain;
      key.written = std::string(1, c);
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
  if (KeyCode::isArrow(keyCode)) {
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
  const auto named = KeyCode::namedKey(key.keyCode);
  const char typed = !named ? 0 : key.shift ? named->shifted : named->plain;
  if (isWrittenBare(key, typed)) return std::string(1, typed);
  std::string out = "{";
  if (key.shift) out += "shift+";
  if (key.option) out += "opt+";
  if (key.control) out += "ctrl+";
  if (key.command) out += "cmd+";
  if (key.capsLock) out += "caps+";
  return out + std::string(named ? named->name : "") + "}";
}

std::string formatKeys(const std::vector<KeyPress>& keys) {
  std::string out;
  for (const auto& k : keys) out += formatKey(k);
  return out;
}

}  // namespace yakdrom::cli
