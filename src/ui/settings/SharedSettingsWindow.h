// Opens the program's one settings window, making it only when it is first asked for, so
// a program that never opens it never builds it. Main thread.
#pragma once

#include "ime/controller/SettingsWindowOpener.h"
#include "ui/settings/SettingsWindowController.h"

namespace yakdrom {

class SharedSettingsWindow final : public SettingsWindowOpener {
 public:
  void show() override { SettingsWindowController::shared().show(); }
};

}  // namespace yakdrom
