// Opens the settings window: implemented by the user-interface layer, which owns the one
// settings window of the process. Main thread.
#pragma once

namespace yakdrom {

class SettingsWindowOpener {
 public:
  virtual ~SettingsWindowOpener() = default;

  /// Shows the settings window, creating it on first use, and brings it to the front.
  virtual void show() = 0;
};

}  // namespace yakdrom
