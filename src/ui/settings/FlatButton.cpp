#include "ui/settings/FlatButton.h"

namespace yakdrom {

FlatButton::FlatButton(const QString& title, QWidget* parent) : Themed<QPushButton>(parent) {
  setText(title);
  setAccessibleName(title);
  restyle();
}

void FlatButton::setTint(const QColor& tint) {
  tint_ = tint;
  applyStyle(isDarkStyle());
}

void FlatButton::applyStyle(bool dark) {
  QPalette palette = themed::buttonPalette(dark);
  if (tint_) palette.setColor(QPalette::Active, QPalette::ButtonText, *tint_);
  if (tint_) palette.setColor(QPalette::Inactive, QPalette::ButtonText, *tint_);
  setPalette(palette);
}

}  // namespace yakdrom
