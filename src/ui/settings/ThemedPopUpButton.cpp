#include "ui/settings/ThemedPopUpButton.h"

namespace yakdrom {

ThemedPopUpButton::ThemedPopUpButton(QWidget* parent) : Themed<QComboBox>(parent) { restyle(); }

std::optional<QString> ThemedPopUpButton::selectedTitle() const {
  if (currentIndex() < 0) return std::nullopt;
  return currentText();
}

void ThemedPopUpButton::selectTitle(const QString& title) {
  setCurrentIndex(findText(title, Qt::MatchExactly));
}

void ThemedPopUpButton::applyStyle(bool dark) { setPalette(themed::buttonPalette(dark)); }

}  // namespace yakdrom
