#include "engine/composition/KeyMapping.h"

#include <array>

#include "engine/composition/KeyCode.h"
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
    {KeyCode::kA, 0x0F60, 0x0F71, 0x0FC4},
    {KeyCode::kS, 0x0F66, 0x0F1F, 0x0FC5},
    {KeyCode::kD, 0x0F51, 0x0F4C, 0x0F9C},
    {KeyCode::kF, 0x0F56, 0x0F3E, 0x0F57},
    {KeyCode::kH, 0x0F58, 0x0FCF, 0x0FC7},
    {KeyCode::kG, 0x0F44, 0x0F3F, 0x0FC6},
    {KeyCode::kZ, 0x0F5F, 0x0F34, 0x0FCC},
    {KeyCode::kX, 0x0F64, 0x0F65, 0x0FB5},
    {KeyCode::kC, 0x0F40, 0x0F69, 0x0FB9},
    {KeyCode::kV, 0x0F41, 0x0F87, 0x0F36},
    {KeyCode::kB, 0x0F54, 0x0F86, 0x0F82},
    {KeyCode::kQ, 0x0F45, 0x0F15, 0x0F89},
    {KeyCode::kW, 0x0F46, 0x0F16, 0x0F88},
    {KeyCode::kE, 0x0F7A, 0x0F17, 0x0FBE},
    {KeyCode::kR, 0x0F62, 0x0FBC, 0x0F6A},
    {KeyCode::kY, 0x0F61, 0x0FBB, 0x0FBF},
    {KeyCode::kT, 0x0F4F, 0x0F4A, 0x0F9A},
    {KeyCode::kDigit1, 0x0F21, 0x0F2A, 0x0F76},
    {KeyCode::kDigit2, 0x0F22, 0x0F2B, 0x0F77},
    {KeyCode::kDigit3, 0x0F23, 0x0F2C, 0x0F78},
    {KeyCode::kDigit4, 0x0F24, 0x0F2D, 0x0F79},
    {KeyCode::kDigit6, 0x0F26, 0x0F2F, 0x0F09},
    {KeyCode::kDigit5, 0x0F25, 0x0F2E, 0x0F81},
    {KeyCode::kEqual, 0x0F5D, 0x0F3D, 0x0F13},
    {KeyCode::kDigit9, 0x0F29, 0x0F32, 0x0F10},
    {KeyCode::kDigit7, 0x0F27, 0x0F30, 0x0F0A},
    {KeyCode::kMinus, 0x0F67, 0x0F3C, 0x0F0C},
    {KeyCode::kDigit8, 0x0F28, 0x0F31, 0x0F0F},
    {KeyCode::kDigit0, 0x0F20, 0x0F33, 0x0F12},
    {KeyCode::kRightBracket, 0x0F5A, 0x0F1D, 0x0FC3},
    {KeyCode::kO, 0x0F7C, 0x0F1A, 0x0FC0},
    {KeyCode::kU, 0x0F74, 0x0F18, 0x0F75},
    {KeyCode::kLeftBracket, 0x0F59, 0x0F1C, 0x0FC2},
    {KeyCode::kI, 0x0F72, 0x0F19, 0x0F73},
    {KeyCode::kP, 0x0F55, 0x0F1B, 0x0FC1},
    {KeyCode::kL, 0x0F63, 0x0F06, 0x0FC9},
    {KeyCode::kJ, 0x0F0B, 0x0F02, 0x0FC8},
    {KeyCode::kQuote, 0x0F0D, 0x0F38, 0x0FCB},
    {KeyCode::kK, 0x0F42, 0x0F03, 0x0F43},
    {KeyCode::kSemicolon, 0x0F5E, 0x0F07, 0x0FCA},
    {KeyCode::kBackslash, 0x0F5B, 0x0F1E, 0x0F5C},
    {KeyCode::kComma, 0x0F50, 0x0F4B, 0x0F9B},
    {KeyCode::kSlash, 0x0F49, 0x0F3B, 0x0F8A},
    {KeyCode::kN, 0x0F53, 0x0F4E, 0x0F9E},
    {KeyCode::kM, 0, 0, 0x0F52},  // the dead key without Option
    {KeyCode::kPeriod, 0x0F47, 0x0F3A, 0x0F8B},
    {KeyCode::kSpace, 0x0020, 0x0020, 0x0020},
    {KeyCode::kGrave, 0x0F68, 0x0F01, 0x0F00},
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
      {"base", {{KeyCode::kM, "m"}}},
      {"shift", {{KeyCode::kM, "M"}}},
  };
  return table;
}

}  // namespace yakdrom::KeyMapping
