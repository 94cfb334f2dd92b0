#include "ui/FloatingPanel.h"

#include <QGuiApplication>
#include <QPainterPath>
#include <QRegion>
#include <cmath>

#include "ui/ScreenCoordinates.h"

namespace yakdrom::floating {
namespace {

constexpr double kCornerRadius = 12;
// Windows that bypass the window manager get no shadow from it; a hairline in the text
// colour keeps a light panel apart from a white page behind it.
constexpr double kOutlineAlpha = 0.12;

int whole(double length) { return static_cast<int>(std::ceil(length)); }

}  // namespace

void configure(QWidget& widget) {
  widget.setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                        Qt::WindowDoesNotAcceptFocus | Qt::X11BypassWindowManagerHint);
  widget.setAttribute(Qt::WA_ShowWithoutActivating);
  widget.setAttribute(Qt::WA_TranslucentBackground);
  widget.setFocusPolicy(Qt::NoFocus);
}

Rect frameOf(const QWidget& widget) {
  return ScreenCoordinates::current().toModel(QRectF(widget.geometry()));
}

void moveOrigin(QWidget& widget, Point origin) {
  const QPointF bottomLeft = ScreenCoordinates::current().toQt(origin);
  widget.move(static_cast<int>(std::lround(bottomLeft.x())),
              static_cast<int>(std::lround(bottomLeft.y())) - widget.height());
}

void resizeKeepingOrigin(QWidget& widget, Size size) {
  const QRect old = widget.geometry();
  const int height = whole(size.height);
  widget.setGeometry(old.x(), old.y() + old.height() - height, whole(size.width), height);
}

void cutCorners(QWidget& widget) {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
  QPainterPath shape;
  shape.addRoundedRect(QRectF(widget.rect()), kCornerRadius, kCornerRadius);
  widget.setMask(QRegion(shape.toFillPolygon().toPolygon()));
}

// Two fills, the outline's shape and the background inside it: stroking an antialiased
// outline costs more than all the rest of a repaint.
void paintBackground(const QWidget& widget, QPainter& painter, const PanelColours& colours) {
  painter.setRenderHint(QPainter::Antialiasing);
  QColor outline = colours.candidateText;
  outline.setAlphaF(kOutlineAlpha);
  const QRectF outer(widget.rect());
  QPainterPath shape;
  shape.addRoundedRect(outer, kCornerRadius, kCornerRadius);
  painter.fillPath(shape, outline);
  QPainterPath inside;
  inside.addRoundedRect(outer.adjusted(1, 1, -1, -1), kCornerRadius - 1, kCornerRadius - 1);
  painter.fillPath(inside, colours.background);
}

}  // namespace yakdrom::floating
