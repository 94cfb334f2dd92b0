#include "engine/composition/KeyMapping.h"

#include <array>

#include "engine/text/Text.h"

namespace yakdrom::KeyMapping {
namespace {

// One row per key position; 0 means the layer has no character there.
struct LayoutRow {
  std::uint16_t keyCode;
  char32_t base;
  char32_t shift;
  char32_t option;
};

constexpr std::array<LayoutRow, 48> kLayout{{
    {0, 0x0F60, 0x0F71, 0x0FC4},   // A
    {1, 0x0F66, 0x0F1F, 0x0FC5},   // S
    {2, 0x0F51, 0x0F4C, 0x0F9C},   // D
    {3, 0x0F56, 0x0F3E, 0x0F57},   // F
    {4, 0x0F58, 0x0FCF, 0x0FC7},   // H
    {5, 0x0F44, 0x0F3F, 0x0FC6},   // G
    {6, 0x0F5F, 0x0F34, 0x0FCC},   // Z
    {7, 0x0F64, 0x0F65, 0x0FB5},   // X
    {8, 0x0F40, 0x0F69, 0x0FB9},   // C
    {9, 0x0F41, 0x0F87, 0x0F36},   // V
    {11, 0x0F54, 0x0F86, 0x0F82},  // B
    {12, 0x0F45, 0x0F15, 0x0F89},  // Q
    {13, 0x0F46, 0x0F16, 0x0F88},  // W
    {14, 0x0F7A, 0x0F17, 0x0FBE},  // E
    {15, 0x0F62, 0x0FBC, 0x0F6A},  // R
    {16, 0x0F61, 0x0FBB, 0x0FBF},  // Y
    {17, 0x0F4F, 0x0F4A, 0x0F9A},  // T
    {18, 0x0F21, 0x0F2A, 0x0F76},  // 1
    {19, 0x0F22, 0x0F2B, 0x0F77},  // 2
    {20, 0x0F23, 0x0F2C, 0x0F78},  // 3
    {21, 0x0F24, 0x0F2D, 0x0F79},  // 4
    {22, 0x0F26, 0x0F2F, 0x0F09},  // 6
    {23, 0x0F25, 0x0F2E, 0x0F81},  // 5
    {24, 0x0F5D, 0x0F3D, 0x0F13},  // =
    {25, 0x0F29, 0x0F32, 0x0F10},  // 9
    {26, 0x0F27, 0x0F30, 0x0F0A},  // 7
    {27, 0x0F67, 0x0F3C, 0x0F0C},  // -
    {28, 0x0F28, 0x0F31, 0x0F0F},  // 8
    {29, 0x0F20, 0x0F33, 0x0F12},  // 0
    {30, 0x0F5A, 0x0F1D, 0x0FC3},  // ]
    {31, 0x0F7C, 0x0F1A, 0x0FC0},  // O
    {32, 0x0F74, 0x0F18, 0x0F75},  // U
    {33, 0x0F59, 0x0F1C, 0x0FC2},  // [
    {34, 0x0F72, 0x0F19, 0x0F73},  // I
    {35, 0x0F55, 0x0F1B, 0x0FC1},  // P
    {37, 0x0F63, 0x0F06, 0x0FC9},  // L
    {38, 0x0F0B, 0x0F02, 0x0FC8},  // J
    {39, 0x0F0D, 0x0F38, 0x0FCB},  // '
    {40, 0x0F42, 0x0F03, 0x0F43},  // K
    {41, 0x0F5E, 0x0F07, 0x0FCA},  // ;
    {42, 0x0F5B, 0x0F1E, 0x0F5C},  // backslash
    {43, 0x0F50, 0x0F4B, 0x0F9B},  // ,
    {44, 0x0F49, 0x0F3B, 0x0F8A},  // /
    {45, 0x0F53, 0x0F4E, 0x0F9E},  // N
    {46, 0, 0, 0x0F52},            // M: the dead key without Option
    {47, 0x0F47, 0x0F3A, 0x0F8B},  // .
    {49, 0x0020, 0x0020, 0x0020},  // Space
    {50, 0x0F68, 0x0F01, 0x0F00},  // `
}};

KeyTable buildLayer(char32_t LayoutRow::*column) {
  KeyTable table;
  for (const LayoutRow& row : kLayout) {
    const char32_t c = row.*column;
    if (c == 0) continue;
    std::string text;
    text::appendUtf8(text, c);
    table.emplace(row.keyCode, std::move(text));
  }
  return table;
}

}  // namespace

const KeyTable& base() {
  static const KeyTable table = buildLayer(&LayoutRow::base);
  return table;
}

const KeyTable& shift() {
  static const KeyTable table = buildLayer(&LayoutRow::shift);
  return table;
}

const KeyTable& option() {
  static const KeyTable table = buildLayer(&LayoutRow::option);
  return table;
}

const KeyTable& shiftOption() {
  static const KeyTable table;
  return table;
}

const KeyTable& table(ModifierLayer layer) {
  switch (layer) {
    case ModifierLayer::none:
      return base();
    case ModifierLayer::shift:
      return shift();
    case ModifierLayer::option:
      return option();
    case ModifierLayer::shiftOption:
      return shiftOption();
  }
  return shiftOption();
}

const StateEntryTable& stateEntries() {
  static const StateEntryTable table{
      {"base", {{46, "m"}}},
      {"shift", {{46, "M"}}},
  };
  return table;
}

}  // namespace yakdrom::KeyMapping
