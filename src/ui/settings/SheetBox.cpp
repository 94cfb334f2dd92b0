#include "ui/settings/SheetBox.h"

#include <QPushButton>

namespace yakdrom {

QMessageBox& SheetBox::open(QWidget& window, const QObject& owner, QMessageBox::Icon icon,
                            const QString& title, const QString& message,
                            std::vector<SheetButton> buttons) {
  auto* box = new QMessageBox(icon, window.windowTitle(), title, QMessageBox::NoButton, &window);
  box->setInformativeText(message);
  std::vector<QPushButton*> added;
  for (const SheetButton& button : buttons) {
    added.push_back(box->addButton(button.title, button.role));
    if (button.role == QMessageBox::RejectRole) box->setEscapeButton(added.back());
  }
  if (!added.empty()) {
    box->setDefaultButton(added.front());
    if (box->escapeButton() == nullptr) box->setEscapeButton(added.front());
  }
  box->setWindowModality(Qt::WindowModal);
  box->setAttribute(Qt::WA_DeleteOnClose);
  QObject::connect(box, &QMessageBox::finished, &owner, [box, added, buttons = std::move(buttons)] {
    for (std::size_t i = 0; i < added.size(); ++i) {
      if (box->clickedButton() == added[i] && buttons[i].chosen) {
        buttons[i].chosen();
      }
    }
  });
  box->open();
  return *box;
}

}  // namespace yakdrom
