// What one key press did, as the input session reports it to its front end, so that no
// front end has to infer it from the text field. Any thread.
#pragma once

#include <optional>
#include <string>

#include "engine/composition/EngineOutput.h"

namespace yakdrom {

struct KeyResult {
  /// True when the input method consumed the key; false when the application is to get it.
  bool consumed = false;
  /// The candidate the key confirmed in the candidate list.
  std::optional<std::string> confirmed;
  /// Outside the candidate list, the engine output applied to the client; a key that never
  /// reaches the engine (a chord, any key in this program's own windows) is a passthrough.
  std::optional<EngineOutput> engineOutput;

  friend bool operator==(const KeyResult&, const KeyResult&) = default;
};

}  // namespace yakdrom
