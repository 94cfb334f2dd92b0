// The settings window's message boxes: window-modal, gone when closed, each button running
// its own action once the box has closed by it. Notices, questions and reports all open
// through here. Main thread.
#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

namespace yakdrom {

struct SheetButton {
  QString title;
  QMessageBox::ButtonRole role = QMessageBox::AcceptRole;
  /// Runs after the box closed by this button; may be empty.
  std::function<void()> chosen;
};

class SheetBox {
 public:
  /// Opens a box on `window` saying `title` and, below it, `message`, with `buttons` in
  /// order. The first button is the default; Escape chooses the button with the reject
  /// role, or the first when none has it. The actions run only while `owner` lives.
  static QMessageBox& open(QWidget& window, const QObject& owner, QMessageBox::Icon icon,
                           const QString& title, const QString& message,
                           std::vector<SheetButton> buttons);
};

}  // namespace yakdrom
