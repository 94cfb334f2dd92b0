// The one conversion between Qt's desktop coordinates (origin at the top left of the primary
// screen, y growing downwards) and the coordinates every placement rule below this layer
// uses (origin at the bottom left of the primary screen, y growing upwards). Every window,
// screen and caret rectangle crosses this boundary here and nowhere else. Main thread.
#pragma once

#include <QPointF>
#include <QRectF>

#include "ime/platform/Geometry.h"

namespace yakdrom {

class ScreenCoordinates {
 public:
  /// Converts for a primary screen `primaryHeight` tall.
  explicit ScreenCoordinates(double primaryHeight) : primaryHeight_(primaryHeight) {}

  /// Returns the conversion for the desktop as it is now (no screen counts as height 0).
  [[nodiscard]] static ScreenCoordinates current();

  [[nodiscard]] Point toModel(QPointF p) const { return {p.x(), primaryHeight_ - p.y()}; }
  [[nodiscard]] QPointF toQt(Point p) const { return {p.x, primaryHeight_ - p.y}; }
  [[nodiscard]] Rect toModel(const QRectF& r) const;
  [[nodiscard]] QRectF toQt(const Rect& r) const;

 private:
  double primaryHeight_;
};

}  // namespace yakdrom
