#include "ui/settings/ThemedTextField.h"

namespace yakdrom {

ThemedTextField::ThemedTextField(const QString& text, QWidget* parent)
    : Themed<QLineEdit>(text, parent) {
  restyle();
}

void ThemedTextField::applyStyle(bool dark) {
  QPalette palette;
  palette.setColor(QPalette::Base, dark ? themed::kDarkControl : QColor(Qt::transparent));
  if (dark) palette.setColor(QPalette::Text, Qt::white);
  setPalette(palette);
}

}  // namespace yakdrom
