// The desktop's own dialogs through QFileDialog, the file manager through the
// org.freedesktop.FileManager1 D-Bus interface, with opening the folder as the fallback, and
// the browser through QDesktopServices. Main thread.
#pragma once

#include "ui/settings/DesktopFiles.h"

namespace yakdrom {

class QtDesktopFiles final : public DesktopFiles {
 public:
  [[nodiscard]] std::optional<std::filesystem::path> chooseWordList(
      QWidget& parent, const QString& message) override;
  [[nodiscard]] std::optional<std::filesystem::path> chooseExportFile(QWidget& parent,
                                                                      const QString& message,
                                                                      const QString& name) override;
  void reveal(const std::filesystem::path& file) override;
  void openUrl(const QUrl& url) override;
};

}  // namespace yakdrom
