// The pad's main window: a text area to type Tibetan in with the input method inside the
// program, and a menu to copy or save what was typed. Main thread.
#pragma once

#include <QMainWindow>
#include <QPlainTextEdit>
#include <memory>

#include "frontends/pad/PadInputMethod.h"
#include "ime/settings/InterfaceLanguage.h"
#include "ui/KeyboardChartWindow.h"

namespace yakdrom {

class PadWindow final : public QMainWindow {
 public:
  /// Builds the window with its texts in `language`; `services` must outlive it.
  PadWindow(PadServices services, InterfaceLanguage language);

  [[nodiscard]] QPlainTextEdit& editor() { return *editor_; }
  [[nodiscard]] const PadInputMethod& inputMethod() const { return *inputMethod_; }

  /// Puts the whole text on the clipboard.
  void copyAll();
  /// Writes the whole text to `path` as UTF-8; returns the reason when it could not.
  [[nodiscard]] std::optional<QString> saveTo(const QString& path);
  /// Shows the keyboard chart window, made on first use.
  void showKeyboardChart();
  /// Returns the keyboard chart window once it was shown.
  [[nodiscard]] KeyboardChartWindow* keyboardChart() const { return chart_; }
  /// Shows the keys the pad answers, in a message attached to the window.
  void showPadKeys();
  /// Returns the text of that message.
  [[nodiscard]] QString padKeysText() const;

 protected:
  /// Asks before text that was never saved is thrown away.
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus(SettingsWindowOpener& settingsWindow);
  void saveAs();

  InterfaceLanguage language_;
  QPlainTextEdit* editor_;
  KeyboardChartWindow* chart_ = nullptr;
  std::unique_ptr<PadInputMethod> inputMethod_;
};

}  // namespace yakdrom
