// Where the pad keeps the text typed so far when a hang-up or a shutdown ends it and no
// --output file was given: a new file each time in the user's state folder, which the next
// pad announces once.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace yakdrom::cli {

class PadRecovery {
 public:
  /// Returns $XDG_STATE_HOME/Yakdrom, or ~/.local/state/Yakdrom when that is unset or relative.
  [[nodiscard]] static std::filesystem::path defaultFolder();

  /// Keeps its files in `folder`, which the first save makes.
  explicit PadRecovery(std::filesystem::path folder);

  /// Writes `text` to a new file named after the local time and returns its path; nothing
  /// when it cannot be written.
  [[nodiscard]] std::optional<std::filesystem::path> save(std::string_view text) const;

  /// Returns the files saved and not yet announced, newest first, and records them as
  /// announced.
  [[nodiscard]] std::vector<std::filesystem::path> takeUnannounced() const;

 private:
  std::filesystem::path folder_;
};

}  // namespace yakdrom::cli
