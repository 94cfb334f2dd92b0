#include "ui/settings/PageView.h"

#include <QPainter>

namespace yakdrom {

PageView::PageView(QWidget* parent) : Themed<QWidget>(parent) { restyle(); }

QColor PageView::background() const {
  return isDarkStyle() ? QColor(43, 40, 42) : QColor(Qt::white);
}

void PageView::applyStyle(bool) { update(); }

void PageView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), background());
}

}  // namespace yakdrom
