#include "ui/settings/FlatButton.h"

namespace yakdrom {

FlatButton::FlatButton(const QString& title, QWidget* parent) : Themed<QPushButton>(parent) {
  setText(title);
  setAccessibleName(title);
  restyle();
}

void FlatButton::setDestructive() {
  destructive_ = true;
  applyStyle(isDarkStyle());
}

// The red of each style is the one that reads on that style's bezel.
void FlatButton::applyStyle(bool dark) {
  QPalette palette = themed::buttonPalette(dark);
  if (destructive_) {
    const QColor red = dark ? QColor(255, 105, 97) : QColor(215, 0, 21);
    palette.setColor(QPalette::Active, QPalette::ButtonText, red);
    palette.setColor(QPalette::Inactive, QPalette::ButtonText, red);
  }
  setPalette(palette);
}

}  // namespace yakdrom
