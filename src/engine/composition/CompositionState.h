// The whole state of the composition engine for one client: the syllable, the active
// dead-key mode and the stack last taken apart by Delete. Plain values.
#pragma once

#include <optional>
#include <string>

#include "engine/composition/SyllableModel.h"

namespace yakdrom {

/// A stack taken apart by Delete: the former superscript, now the root, and the deleted root.
struct AvoidedStack {
  std::string root{};
  std::string key{};

  friend bool operator==(const AvoidedStack&, const AvoidedStack&) = default;
};

struct CompositionState {
  SyllableModel syllable{};
  std::optional<std::string> legacyMode{};  // "m" or "M" while a dead-key mode is active
  std::optional<AvoidedStack> avoidedStack{};

  /// Returns true when the syllable is empty and no dead-key mode is active.
  [[nodiscard]] bool isEmpty() const;

  friend bool operator==(const CompositionState&, const CompositionState&) = default;
};

}  // namespace yakdrom
