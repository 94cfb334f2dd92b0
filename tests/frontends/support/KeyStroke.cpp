#include "frontends/support/KeyStroke.h"

#include <array>

namespace yakdrom::testing {
namespace {

struct CharacterKey {
  std::uint32_t code;
  char plain;
  char shifted;
};

// Evdev codes of the US layout's character keys.
constexpr std::array<CharacterKey, 48> kCharacterKeys = {{
    {41, '`', '~'},  {2, '1', '!'},   {3, '2', '@'},  {4, '3', '#'},  {5, '4', '$'},
    {6, '5', '%'},   {7, '6', '^'},   {8, '7', '&'},  {9, '8', '*'},  {10, '9', '('},
    {11, '0', ')'},  {12, '-', '_'},  {13, '=', '+'}, {16, 'q', 'Q'}, {17, 'w', 'W'},
    {18, 'e', 'E'},  {19, 'r', 'R'},  {20, 't', 'T'}, {21, 'y', 'Y'}, {22, 'u', 'U'},
    {23, 'i', 'I'},  {24, 'o', 'O'},  {25, 'p', 'P'}, {26, '[', '{'}, {27, ']', '}'},
    {43, '\\', '|'}, {30, 'a', 'A'},  {31, 's', 'S'}, {32, 'd', 'D'}, {33, 'f', 'F'},
    {34, 'g', 'G'},  {35, 'h', 'H'},  {36, 'j', 'J'}, {37, 'k', 'K'}, {38, 'l', 'L'},
    {39, ';', ':'},  {40, '\'', '"'}, {44, 'z', 'Z'}, {45, 'x', 'X'}, {46, 'c', 'C'},
    {47, 'v', 'V'},  {48, 'b', 'B'},  {49, 'n', 'N'}, {50, 'm', 'M'}, {51, ',', '<'},
    {52, '.', '>'},  {53, '/', '?'},  {57, ' ', ' '},
}};

struct NamedKey {
  std::string_view name;
  std::uint32_t keysym;
  std::uint32_t code;
};

// X keysyms, which IBus and Fcitx both carry unchanged.
constexpr std::array<NamedKey, 13> kNamedKeys = {{
    {"space", 0x0020, 57},
    {"return", 0xff0d, 28},
    {"tab", 0xff09, 15},
    {"backspace", 0xff08, 14},
    {"delete", 0xffff, 111},
    {"escape", 0xff1b, 1},
    {"left", 0xff51, 105},
    {"right", 0xff53, 106},
    {"up", 0xff52, 103},
    {"down", 0xff54, 108},
    {"page_up", 0xff55, 104},
    {"page_down", 0xff56, 109},
    {"shift", 0xffe1, 42},
}};

}  // namespace

std::optional<KeyStroke> KeyStroke::forCharacter(char c) {
  for (const CharacterKey& key : kCharacterKeys) {
    // Latin-1 keysyms are the characters' code points.
    const auto keysym = static_cast<std::uint32_t>(static_cast<unsigned char>(c));
    if (c == key.plain) return KeyStroke{keysym, key.code, 0};
    if (c == key.shifted) return KeyStroke{keysym, key.code, kShift};
  }
  return std::nullopt;
}

std::optional<KeyStroke> KeyStroke::forName(std::string_view name) {
  for (const NamedKey& key : kNamedKeys) {
    if (name == key.name) return KeyStroke{key.keysym, key.code, 0};
  }
  return std::nullopt;
}

}  // namespace yakdrom::testing
