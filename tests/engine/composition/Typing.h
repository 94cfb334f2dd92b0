// Drives the composition engine with key sequences written as text, against a client that
// keeps the committed text and the marked text, as the input controller does.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "engine/composition/CompositionEngine.h"
#include "engine/composition/KeyMapping.h"
#include "engine/text/Text.h"

namespace yakdrom::testing {

// Notation: each Tibetan scalar (or space) is the key that types it, searched in the base,
// Shift and Option layers in that order; ASCII stands for the keys that type nothing.
inline constexpr char kDeadKey = 'm';       // M
inline constexpr char kShiftDeadKey = 'M';  // Shift+M
inline constexpr char kDelete = '<';
inline constexpr char kReturn = '\n';
inline constexpr char kTab = '\t';
inline constexpr char kEscape = '\x1b';
inline constexpr char kUnmapped = '?';  // the extra key of ISO keyboards, in no layer
inline constexpr std::uint16_t kIsoKeyCode = 10;

inline KeyInput keyFor(char32_t c) {
  namespace S = CompositionEngine::Special;
  const std::pair<char32_t, KeyInput> tokens[] = {
      {kDeadKey, {S::kStateKey}}, {kShiftDeadKey, {S::kStateKey, ModifierLayer::shift}},
      {kDelete, {S::kDelete}},    {kReturn, {S::kReturn}},
      {kTab, {S::kTab}},          {kEscape, {S::kEscape}},
      {kUnmapped, {kIsoKeyCode}}};
  for (const auto& [token, key] : tokens) {
    if (token == c) return key;
  }
  std::string wanted;
  text::appendUtf8(wanted, c);
  for (ModifierLayer layer : {ModifierLayer::none, ModifierLayer::shift, ModifierLayer::option}) {
    for (const auto& [code, value] : KeyMapping::table(layer)) {
      if (value == wanted) return {code, layer};
    }
  }
  ADD_FAILURE() << "no key types U+" << std::hex << static_cast<unsigned>(c);
  return {};
}

struct Typed {
  std::string committed{};  // everything inserted into the document
  std::string marked{};     // the marked text left at the end
  EngineOutput last{};
  CompositionState state{};
};

/// Applies one key to `typed` as the client would.
inline void press(Typed& typed, const KeyInput& key) {
  auto result = CompositionEngine::handle(key, typed.state);
  const EngineOutput& out = result.output;
  using Kind = EngineOutput::Kind;
  typed.committed += out.committed;
  if (out.kind == Kind::marked || out.kind == Kind::commitThenMark) typed.marked = out.marked;
  if (out.kind == Kind::commit || out.kind == Kind::commitThenPassthrough) typed.marked.clear();
  typed.last = out;
  typed.state = std::move(result.state);
}

/// Types `notation` starting from `state`.
inline Typed type(std::string_view notation, CompositionState state = {}) {
  Typed typed{.state = std::move(state)};
  for (char32_t c : text::decodeUtf8(notation)) press(typed, keyFor(c));
  return typed;
}

/// A key sequence and what the client holds after it.
struct Sequence {
  const char* keys;
  const char* committed;
  const char* marked;
};

/// Types each sequence from an empty state and checks the client's texts.
template <std::size_t N>
void expectSequences(const Sequence (&rows)[N]) {
  for (const Sequence& row : rows) {
    SCOPED_TRACE(row.keys);
    const Typed typed = type(row.keys);
    EXPECT_EQ(typed.committed, row.committed);
    EXPECT_EQ(typed.marked, row.marked);
  }
}

}  // namespace yakdrom::testing
