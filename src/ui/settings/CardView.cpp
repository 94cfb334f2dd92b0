#include "ui/settings/CardView.h"

namespace yakdrom {
namespace {

constexpr qreal kCornerRadius = 12;

}  // namespace

CardView::CardView(QLayout* content, QWidget* parent) : Themed<QWidget>(parent) {
  content->setContentsMargins(16, 14, 16, 14);
  setLayout(content);
  restyle();
}

QColor CardView::background() const {
  return isDarkStyle() ? QColor(49, 47, 48) : QColor(247, 247, 247);
}

void CardView::applyStyle(bool) { update(); }

void CardView::paintEvent(QPaintEvent*) {
  themed::paintRounded(*this, background(), kCornerRadius);
}

}  // namespace yakdrom
