#include "ui/settings/SwitchButton.h"

#include <QPainter>
#include <QStyleOptionFocusRect>

namespace yakdrom {
namespace {

constexpr QSize kSize(38, 22);
constexpr int kKnobInset = 2;

}  // namespace

SwitchButton::SwitchButton(QWidget* parent) : QAbstractButton(parent) {
  setCheckable(true);
  setFocusPolicy(Qt::StrongFocus);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize SwitchButton::sizeHint() const { return kSize; }

void SwitchButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF track = QRectF(QPointF(0, 0), kSize).adjusted(0.5, 0.5, -0.5, -0.5);
  const qreal radius = track.height() / 2;
  const QColor on = palette().color(QPalette::Highlight);
  painter.setPen(hasFocus() ? QPen(on.darker(130), 1.5) : QPen(palette().color(QPalette::Mid)));
  painter.setBrush(isChecked() ? on : palette().color(QPalette::Button));
  painter.drawRoundedRect(track, radius, radius);
  const qreal knob = track.height() - 2 * kKnobInset;
  const qreal x = isChecked() ? track.right() - kKnobInset - knob : track.left() + kKnobInset;
  painter.setPen(QPen(palette().color(QPalette::Mid), 0.5));
  painter.setBrush(isEnabled() ? QColor(Qt::white) : palette().color(QPalette::Midlight));
  painter.drawEllipse(QRectF(x, track.top() + kKnobInset, knob, knob));
}

}  // namespace yakdrom
