// Plain screen geometry in the coordinates every placement rule of this layer uses: origin at
// the bottom left of the main screen, y growing upwards. Values only; any thread.
#pragma once

#include <string>

namespace yakdrom {

struct Point {
  double x = 0;
  double y = 0;

  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  double width = 0;
  double height = 0;

  friend bool operator==(const Size&, const Size&) = default;
};

/// A rectangle as a client or a screen reports it. A negative width or height is allowed;
/// the min/max accessors read it as the rectangle it spans.
struct Rect {
  Point origin;
  Size size;

  [[nodiscard]] double minX() const;
  [[nodiscard]] double maxX() const;
  [[nodiscard]] double minY() const;
  [[nodiscard]] double maxY() const;
  [[nodiscard]] double midX() const { return (minX() + maxX()) / 2; }
  [[nodiscard]] double midY() const { return (minY() + maxY()) / 2; }
  [[nodiscard]] double width() const { return maxX() - minX(); }
  [[nodiscard]] double height() const { return maxY() - minY(); }

  /// Returns true when every coordinate is a finite number.
  [[nodiscard]] bool isFinite() const;

  /// Returns true when `p` lies inside; the left and bottom edges belong to the rectangle,
  /// the right and top edges do not, so adjacent screens never both contain a point.
  [[nodiscard]] bool contains(Point p) const;

  /// Returns true when the two rectangles overlap; rectangles that only touch do not.
  [[nodiscard]] bool intersects(const Rect& other) const;

  /// Returns the rectangle grown by `dx` on the left and right and `dy` at top and bottom.
  [[nodiscard]] Rect enlarged(double dx, double dy) const;

  friend bool operator==(const Rect&, const Rect&) = default;
};

/// Returns "{x, y}" with numbers in shortest form, as the log lines print points.
[[nodiscard]] std::string describe(Point p);

/// Returns "{{x, y}, {width, height}}".
[[nodiscard]] std::string describe(const Rect& r);

}  // namespace yakdrom
