#include "ui/settings/Themed.h"

#include <QPainter>

namespace yakdrom::themed {

void paintRounded(QWidget& widget, const QColor& colour, qreal radius) {
  QPainter painter(&widget);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  painter.drawRoundedRect(widget.rect(), radius, radius);
}

QPalette buttonPalette(bool dark) {
  QPalette palette;
  if (dark) palette.setColor(QPalette::Button, kDarkControl);
  return palette;
}

}  // namespace yakdrom::themed
