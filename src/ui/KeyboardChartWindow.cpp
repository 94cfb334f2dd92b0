#include "ui/KeyboardChartWindow.h"

#include <QPainter>

#include "ime/help/KeyboardChartSvg.h"
#include "ui/LocalizedText.h"

namespace yakdrom {
namespace {

// Large enough to read the small signs on most screens at first.
constexpr qreal kInitialScale = 1.0;

}  // namespace

KeyboardChartWindow::KeyboardChartWindow(InterfaceLanguage language, QWidget* parent)
    : QWidget(parent, Qt::Window),
      renderer_(QByteArray::fromStdString(KeyboardChartSvg::render())) {
  setWindowTitle(localizedText(language, "键盘图", "Keyboard Chart"));
  setAccessibleName(windowTitle());
  resize((QSizeF(renderer_.defaultSize()) * kInitialScale).toSize());
}

QRectF KeyboardChartWindow::pictureRect() const {
  QSizeF picture = QSizeF(renderer_.defaultSize());
  picture.scale(QSizeF(size()), Qt::KeepAspectRatio);
  return {QPointF((width() - picture.width()) / 2, (height() - picture.height()) / 2), picture};
}

void KeyboardChartWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  renderer_.render(&painter, pictureRect());
}

}  // namespace yakdrom
