// `--set KEY=VALUE` on the command line: stores a value under one of the input method's
// settings keys, typed as the settings store keeps that key, so the controller reads it as
// it reads a value the settings window wrote. Any thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/store/PreferenceStore.h"

namespace yakdrom::cli {

struct AppliedSetting {
  /// Why nothing was stored.
  std::optional<std::string> problem;
  /// For a stored value the settings do not accept: which value the input method uses.
  std::optional<std::string> warning;
};

/// Stores the value of `assignment` ("KEY=VALUE") under KEY in `store`: as an integer, a
/// finite number, a Boolean ("true" or "false") or a string, whichever KEY holds. Describes
/// the problem in one line, storing nothing, for text that is no assignment, a key that is
/// no settings key or a value of the wrong type; warns when the settings read the stored
/// value back as another one (a count out of range, an unknown style).
[[nodiscard]] AppliedSetting applySetting(std::string_view assignment, PreferenceStore& store);

}  // namespace yakdrom::cli
