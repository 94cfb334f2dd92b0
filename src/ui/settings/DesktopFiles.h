// The desktop's file dialogs, file manager and browser, as the settings window uses them:
// choosing a word list to import, choosing where to export, showing a written file and
// opening a download page. Main thread.
#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>
#include <filesystem>
#include <optional>

namespace yakdrom {

class DesktopFiles {
 public:
  virtual ~DesktopFiles() = default;

  /// Asks for a plain-text word list to read, titled `message`; nothing when cancelled.
  [[nodiscard]] virtual std::optional<std::filesystem::path> chooseWordList(
      QWidget& parent, const QString& message) = 0;

  /// Asks where to write a plain-text file, proposing `name` in the user's Documents
  /// folder, titled `message`; nothing when cancelled.
  [[nodiscard]] virtual std::optional<std::filesystem::path> chooseExportFile(
      QWidget& parent, const QString& message, const QString& name) = 0;

  /// Shows `file` selected in the file manager, or opens its folder where the desktop
  /// cannot select a file.
  virtual void reveal(const std::filesystem::path& file) = 0;

  /// Opens the web address `url` in the user's browser.
  virtual void openUrl(const QUrl& url) = 0;
};

}  // namespace yakdrom
