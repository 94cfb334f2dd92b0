#include "ui/settings/CodeChipView.h"

#include <QHBoxLayout>

#include "ui/settings/SettingsLayout.h"

namespace yakdrom {
namespace {

constexpr qreal kCornerRadius = 5;
constexpr qreal kPointSize = 13;

}  // namespace

CodeChipView::CodeChipView(const QString& text, QWidget* parent)
    : Themed<QWidget>(parent), label_(new QLabel(text, this)) {
  label_->setFont(SettingsLayout::tibetanFont(kPointSize));
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(7, 3, 7, 3);
  layout->addWidget(label_);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  restyle();
}

QColor CodeChipView::background() const {
  return isDarkStyle() ? QColor(0, 0, 0, 56) : QColor(Qt::white);
}

void CodeChipView::applyStyle(bool) { update(); }

void CodeChipView::paintEvent(QPaintEvent*) {
  themed::paintRounded(*this, background(), kCornerRadius);
}

}  // namespace yakdrom
