#include "ui/ScreenCoordinates.h"

#include <QGuiApplication>
#include <QScreen>

namespace yakdrom {

ScreenCoordinates ScreenCoordinates::current() {
  const QScreen* primary = QGuiApplication::primaryScreen();
  return ScreenCoordinates(primary != nullptr ? primary->geometry().height() : 0);
}

// A rectangle's bottom edge in Qt is its top edge in the model, and the reverse.
Rect ScreenCoordinates::toModel(const QRectF& r) const {
  return {{r.x(), primaryHeight_ - r.y() - r.height()}, {r.width(), r.height()}};
}

QRectF ScreenCoordinates::toQt(const Rect& r) const {
  return {r.minX(), primaryHeight_ - r.maxY(), r.width(), r.height()};
}

}  // namespace yakdrom
