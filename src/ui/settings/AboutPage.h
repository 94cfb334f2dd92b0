// The "About" tab: the program's icon, name and version, and the buttons that check for an
// update and uninstall the program. Main thread.
#pragma once

#include "ui/UpdateChecker.h"
#include "ui/settings/FlatButton.h"
#include "ui/settings/PageView.h"
#include "ui/settings/SettingsPageContext.h"

namespace yakdrom {

class AboutPage final : public PageView {
 public:
  explicit AboutPage(const SettingsPageContext& context);

  [[nodiscard]] FlatButton& updateButton() const { return *updateButton_; }
  [[nodiscard]] FlatButton& uninstallButton() const { return *uninstallButton_; }

  /// Asks the feed for a newer release, the button saying so meanwhile, and shows the
  /// answer in a message on the window.
  void checkForUpdatesTapped();

  /// Asks whether to uninstall; if so removes every installed copy, reports what went and
  /// ends the program (and a running engine) once the report is read.
  void uninstallTapped();

 private:
  void showResult(const UpdateInfo& update);
  void showResult(const UpToDate&);
  void showResult(const UpdateCheckFailure& failure);
  void openDownload(const UpdateInfo& update);
  void uninstall();

  SettingsPageContext context_;
  FlatButton* updateButton_;
  FlatButton* uninstallButton_;
};

}  // namespace yakdrom
