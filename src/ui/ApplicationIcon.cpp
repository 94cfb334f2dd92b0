#include "ui/ApplicationIcon.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <array>

#include "ime/settings/YakdromSettings.h"
#include "ui/LocalizedText.h"

namespace yakdrom {
namespace {

constexpr std::array<int, 5> kIconSizes = {16, 32, 48, 64, 128};
const QString kLetter = QStringLiteral("\u0F61");

}  // namespace

QPixmap ApplicationIcon::pixmap(int size, qreal ratio) {
  QPixmap pixmap(QSize(size, size) * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF square(0, 0, size, size);
  QLinearGradient fill(square.topLeft(), square.bottomLeft());
  fill.setColorAt(0, QColor(164, 38, 44));
  fill.setColorAt(1, QColor(112, 20, 32));
  painter.setPen(Qt::NoPen);
  painter.setBrush(fill);
  painter.drawRoundedRect(square.adjusted(1, 1, -1, -1), size * 0.22, size * 0.22);
  QFont font(qtString(kBundledFontFamily));
  font.setPixelSize(qRound(size * 0.62));
  painter.setFont(font);
  painter.setPen(QColor(250, 214, 110));
  // The font's line box makes room for stacks far below the letter, so a letter alone
  // centred by its line box would sit high: centre its ink instead.
  const QRectF ink = QFontMetricsF(font).tightBoundingRect(kLetter);
  painter.drawText(square.center() - ink.center(), kLetter);
  return pixmap;
}

QIcon ApplicationIcon::icon() {
  QIcon icon;
  for (const int size : kIconSizes) icon.addPixmap(pixmap(size));
  return icon;
}

}  // namespace yakdrom
