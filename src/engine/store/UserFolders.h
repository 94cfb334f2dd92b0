// Where the user's own files live, by the XDG base-directory rules: settings under
// $XDG_CONFIG_HOME, data under $XDG_DATA_HOME and state under $XDG_STATE_HOME, each in a
// "Yakdrom" folder. Paths only: nothing is created here. Any thread.
#pragma once

#include <filesystem>

namespace yakdrom::UserFolders {

/// Returns $XDG_CONFIG_HOME/Yakdrom, or ~/.config/Yakdrom without it.
[[nodiscard]] std::filesystem::path config();
/// Returns $XDG_DATA_HOME/Yakdrom, or ~/.local/share/Yakdrom without it.
[[nodiscard]] std::filesystem::path data();
/// Returns $XDG_STATE_HOME/Yakdrom, or ~/.local/state/Yakdrom without it.
[[nodiscard]] std::filesystem::path state();
/// Returns $XDG_CACHE_HOME, or ~/.cache without it: the caches of every program, IBus's
/// among them.
[[nodiscard]] std::filesystem::path cacheHome();

}  // namespace yakdrom::UserFolders
