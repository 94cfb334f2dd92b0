#include "frontends/fcitx5/support/FcitxKeyStroke.h"

#include <fcitx-utils/keysym.h>

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

constexpr std::array<NamedKey, 13> kNamedKeys = {{
    {"space", FcitxKey_space, 57},
    {"return", FcitxKey_Return, 28},
    {"tab", FcitxKey_Tab, 15},
    {"backspace", FcitxKey_BackSpace, 14},
    {"delete", FcitxKey_Delete, 111},
    {"escape", FcitxKey_Escape, 1},
    {"left", FcitxKey_Left, 105},
    {"right", FcitxKey_Right, 106},
    {"up", FcitxKey_Up, 103},
    {"down", FcitxKey_Down, 108},
    {"page_up", FcitxKey_Page_Up, 104},
    {"page_down", FcitxKey_Page_Down, 109},
    {"shift", FcitxKey_Shift_L, 42},
}};

}  // namespace

std::optional<FcitxKeyStroke> FcitxKeyStroke::forCharacter(char c) {
  constexpr auto kShift = static_cast<std::uint32_t>(fcitx::KeyState::Shift);
  for (const CharacterKey& key : kCharacterKeys) {
    // Latin-1 keysyms are the characters' code points.
    const auto keysym = static_cast<std::uint32_t>(static_cast<unsigned char>(c));
    if (c == key.plain) return FcitxKeyStroke{keysym, key.code, 0};
    if (c == key.shifted) return FcitxKeyStroke{keysym, key.code, kShift};
  }
  return std::nullopt;
}

std::optional<FcitxKeyStroke> FcitxKeyStroke::forName(std::string_view name) {
  for (const NamedKey& key : kNamedKeys) {
    if (name == key.name) return FcitxKeyStroke{key.keysym, key.code, 0};
  }
  return std::nullopt;
}

}  // namespace yakdrom::testing
