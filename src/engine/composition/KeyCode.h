// The key codes the engine reads: macOS virtual key codes, which name key positions by the
// US ANSI key found there whatever layout the system uses, and the characters US English
// types with each. Every front end translates its own key events into these.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace yakdrom::KeyCode {

inline constexpr std::uint16_t kA = 0;
inline constexpr std::uint16_t kS = 1;
inline constexpr std::uint16_t kD = 2;
inline constexpr std::uint16_t kF = 3;
inline constexpr std::uint16_t kH = 4;
inline constexpr std::uint16_t kG = 5;
inline constexpr std::uint16_t kZ = 6;
inline constexpr std::uint16_t kX = 7;
inline constexpr std::uint16_t kC = 8;
inline constexpr std::uint16_t kV = 9;
inline constexpr std::uint16_t kB = 11;
inline constexpr std::uint16_t kQ = 12;
inline constexpr std::uint16_t kW = 13;
inline constexpr std::uint16_t kE = 14;
inline constexpr std::uint16_t kR = 15;
inline constexpr std::uint16_t kY = 16;
inline constexpr std::uint16_t kT = 17;
inline constexpr std::uint16_t kDigit1 = 18;
inline constexpr std::uint16_t kDigit2 = 19;
inline constexpr std::uint16_t kDigit3 = 20;
inline constexpr std::uint16_t kDigit4 = 21;
inline constexpr std::uint16_t kDigit6 = 22;
inline constexpr std::uint16_t kDigit5 = 23;
inline constexpr std::uint16_t kEqual = 24;
inline constexpr std::uint16_t kDigit9 = 25;
inline constexpr std::uint16_t kDigit7 = 26;
inline constexpr std::uint16_t kMinus = 27;
inline constexpr std::uint16_t kDigit8 = 28;
inline constexpr std::uint16_t kDigit0 = 29;
inline constexpr std::uint16_t kRightBracket = 30;
inline constexpr std::uint16_t kO = 31;
inline constexpr std::uint16_t kU = 32;
inline constexpr std::uint16_t kLeftBracket = 33;
inline constexpr std::uint16_t kI = 34;
inline constexpr std::uint16_t kP = 35;
inline constexpr std::uint16_t kReturn = 36;
inline constexpr std::uint16_t kL = 37;
inline constexpr std::uint16_t kJ = 38;
inline constexpr std::uint16_t kQuote = 39;
inline constexpr std::uint16_t kK = 40;
inline constexpr std::uint16_t kSemicolon = 41;
inline constexpr std::uint16_t kBackslash = 42;
inline constexpr std::uint16_t kComma = 43;
inline constexpr std::uint16_t kSlash = 44;
inline constexpr std::uint16_t kN = 45;
inline constexpr std::uint16_t kM = 46;
inline constexpr std::uint16_t kPeriod = 47;
inline constexpr std::uint16_t kTab = 48;
inline constexpr std::uint16_t kSpace = 49;
inline constexpr std::uint16_t kGrave = 50;
inline constexpr std::uint16_t kDelete = 51;  // Backspace on PC keyboards
inline constexpr std::uint16_t kEscape = 53;
inline constexpr std::uint16_t kLeft = 123;
inline constexpr std::uint16_t kRight = 124;
inline constexpr std::uint16_t kDown = 125;
inline constexpr std::uint16_t kUp = 126;

struct NamedKey {
  std::uint16_t code;
  std::string_view name;  // as the command line's key notation writes it inside braces
  char plain;             // typed on a US layout without Shift; 0 when the key types nothing
  char shifted;           // typed on a US layout with Shift
};

/// Every key the engine or the candidate window knows, in key-code order.
inline constexpr std::array<NamedKey, 56> kNamedKeys = {{
    {kA, "a", 'a', 'A'},         {kS, "s", 's', 'S'},         {kD, "d", 'd', 'D'},
    {kF, "f", 'f', 'F'},         {kH, "h", 'h', 'H'},         {kG, "g", 'g', 'G'},
    {kZ, "z", 'z', 'Z'},         {kX, "x", 'x', 'X'},         {kC, "c", 'c', 'C'},
    {kV, "v", 'v', 'V'},         {kB, "b", 'b', 'B'},         {kQ, "q", 'q', 'Q'},
    {kW, "w", 'w', 'W'},         {kE, "e", 'e', 'E'},         {kR, "r", 'r', 'R'},
    {kY, "y", 'y', 'Y'},         {kT, "t", 't', 'T'},         {kDigit1, "1", '1', '!'},
    {kDigit2, "2", '2', '@'},    {kDigit3, "3", '3', '#'},    {kDigit4, "4", '4', '$'},
    {kDigit6, "6", '6', '^'},    {kDigit5, "5", '5', '%'},    {kEqual, "=", '=', '+'},
    {kDigit9, "9", '9', '('},    {kDigit7, "7", '7', '&'},    {kMinus, "-", '-', '_'},
    {kDigit8, "8", '8', '*'},    {kDigit0, "0", '0', ')'},    {kRightBracket, "]", ']', '}'},
    {kO, "o", 'o', 'O'},         {kU, "u", 'u', 'U'},         {kLeftBracket, "[", '[', '{'},
    {kI, "i", 'i', 'I'},         {kP, "p", 'p', 'P'},         {kReturn, "return", 0, 0},
    {kL, "l", 'l', 'L'},         {kJ, "j", 'j', 'J'},         {kQuote, "'", '\'', '"'},
    {kK, "k", 'k', 'K'},         {kSemicolon, ";", ';', ':'}, {kBackslash, "\\", '\\', '|'},
    {kComma, ",", ',', '<'},     {kSlash, "/", '/', '?'},     {kN, "n", 'n', 'N'},
    {kM, "m", 'm', 'M'},         {kPeriod, ".", '.', '>'},    {kTab, "tab", 0, 0},
    {kSpace, "space", ' ', ' '}, {kGrave, "`", '`', '~'},     {kDelete, "delete", 0, 0},
    {kEscape, "escape", 0, 0},   {kLeft, "left", 0, 0},       {kRight, "right", 0, 0},
    {kDown, "down", 0, 0},       {kUp, "up", 0, 0},
}};

/// Returns the row of `code` in kNamedKeys, or nothing for a key outside it.
[[nodiscard]] constexpr std::optional<NamedKey> namedKey(std::uint16_t code) {
  for (const NamedKey& key : kNamedKeys) {
    if (key.code == code) return key;
  }
  return std::nullopt;
}

/// Returns true for the four arrow keys.
[[nodiscard]] constexpr bool isArrow(std::uint16_t code) { return code >= kLeft && code <= kUp; }

}  // namespace yakdrom::KeyCode
