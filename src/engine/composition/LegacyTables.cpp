#include "engine/composition/LegacyTables.h"

#include <array>
#include <utility>
#include <vector>

#include "engine/composition/CanonicalIndex.h"
#include "engine/text/Text.h"

namespace yakdrom {

LegacyTransition LegacyTransition::makeOutput(std::string text) {
  return {.kind = Kind::output, .text = std::move(text)};
}

LegacyTransition LegacyTransition::makeNext(std::string mode) {
  return {.kind = Kind::next, .text = std::move(mode)};
}

namespace LegacyTables {
namespace {

constexpr std::string_view kSmallMode = "m";
constexpr std::string_view kCapitalMode = "M";
constexpr std::string_view kNoMode = "none";

// Key text with its outputs in modes "m" and "M"; 0 means no entry. In mode "m" a letter
// gives its subjoined form, a vowel sign or digit a further sign; mode "M" gives the
// aspirated letters.
struct ActionRow {
  std::string_view key;
  char32_t small;
  char32_t capital;
};

constexpr std::array<ActionRow, 49> kRows{{
    {" ", 0x0020, 0x0020},      {"M", 0, 0},           {"m", 0x0F85, 0x0FA2},
    {"\u0F0B", 0x0F84, 0},      {"\u0F0D", 0x0F0E, 0}, {"\u0F20", 0x0F08, 0},
    {"\u0F21", 0x0F04, 0},      {"\u0F22", 0x0F05, 0}, {"\u0F23", 0x0F7E, 0},
    {"\u0F24", 0x0F83, 0},      {"\u0F25", 0x0F37, 0}, {"\u0F26", 0x0F35, 0},
    {"\u0F27", 0x0F7F, 0},      {"\u0F28", 0x0F14, 0}, {"\u0F29", 0x0F11, 0},
    {"\u0F40", 0x0F90, 0x0FA7}, {"\u0F41", 0x0F91, 0}, {"\u0F42", 0x0F92, 0x0F93},
    {"\u0F44", 0x0F94, 0},      {"\u0F45", 0x0F95, 0}, {"\u0F46", 0x0F96, 0},
    {"\u0F47", 0x0F97, 0},      {"\u0F49", 0x0F99, 0}, {"\u0F4F", 0x0F9F, 0},
    {"\u0F50", 0x0FA0, 0},      {"\u0F51", 0x0FA1, 0}, {"\u0F53", 0x0FA3, 0},
    {"\u0F54", 0x0FA4, 0},      {"\u0F55", 0x0FA5, 0}, {"\u0F56", 0x0FA6, 0x0F9D},
    {"\u0F58", 0x0FA8, 0},      {"\u0F59", 0x0FA9, 0}, {"\u0F5A", 0x0FAA, 0},
    {"\u0F5B", 0x0FAB, 0x0FAC}, {"\u0F5D", 0x0FBA, 0}, {"\u0F5E", 0x0FAE, 0},
    {"\u0F5F", 0x0FAF, 0},      {"\u0F60", 0x0FB0, 0}, {"\u0F61", 0x0FB1, 0},
    {"\u0F62", 0x0FB2, 0},      {"\u0F63", 0x0FB3, 0}, {"\u0F64", 0x0FB4, 0x0F4D},
    {"\u0F66", 0x0FB6, 0},      {"\u0F67", 0x0FB7, 0}, {"\u0F68", 0x0FB8, 0},
    {"\u0F72", 0x0F80, 0},      {"\u0F74", 0x0FAD, 0}, {"\u0F7A", 0x0F7B, 0},
    {"\u0F7C", 0x0F7D, 0},
}};

std::string utf8(char32_t c) {
  std::string out;
  text::appendUtf8(out, c);
  return out;
}

// The "none" column echoes every key, except that the two action names switch to their
// own mode.
LegacyTransition noModeTransition(std::string_view key) {
  if (key == kSmallMode || key == kCapitalMode) return LegacyTransition::makeNext(std::string(key));
  return LegacyTransition::makeOutput(std::string(key));
}

ModeTransitions transitionsOf(const ActionRow& row) {
  ModeTransitions modes;
  if (row.small != 0) modes.emplace(kSmallMode, LegacyTransition::makeOutput(utf8(row.small)));
  if (row.capital != 0) {
    modes.emplace(kCapitalMode, LegacyTransition::makeOutput(utf8(row.capital)));
  }
  modes.emplace(kNoMode, noModeTransition(row.key));
  return modes;
}

// The key texts in row order, and for each the transitions in actions(), found by
// canonical equivalence.
struct ActionIndex {
  std::vector<const ModeTransitions*> rows;
  detail::CanonicalIndex index;

  static std::vector<std::string> keys() {
    std::vector<std::string> out;
    out.reserve(kRows.size());
    for (const ActionRow& row : kRows) out.emplace_back(row.key);
    return out;
  }

  ActionIndex() : index(keys()) {
    for (const ActionRow& row : kRows) rows.push_back(&actions().find(row.key)->second);
  }
};

const ActionIndex& actionIndex() {
  static const ActionIndex index;
  return index;
}

}  // namespace

const Actions& actions() {
  static const Actions table = [] {
    Actions t;
    for (const ActionRow& row : kRows) t.emplace(std::string(row.key), transitionsOf(row));
    return t;
  }();
  return table;
}

std::optional<LegacyTransition> transition(std::string_view keyText, std::string_view mode) {
  const ActionIndex& ai = actionIndex();
  const auto position = ai.index.find(keyText);
  if (!position) return std::nullopt;
  const ModeTransitions& modes = *ai.rows[*position];
  const auto it = modes.find(mode);
  if (it == modes.end()) return std::nullopt;
  return it->second;
}

}  // namespace LegacyTables
}  // namespace yakdrom
