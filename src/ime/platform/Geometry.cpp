#include "ime/platform/Geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace yakdrom {
namespace {

std::string number(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%g", v);
  return buffer;
}

}  // namespace

double Rect::minX() const { return std::min(origin.x, origin.x + size.width); }
double Rect::maxX() const { return std::max(origin.x, origin.x + size.width); }
double Rect::minY() const { return std::min(origin.y, origin.y + size.height); }
double Rect::maxY() const { return std::max(origin.y, origin.y + size.height); }

bool Rect::isFinite() const {
  return std::isfinite(origin.x) && std::isfinite(origin.y) && std::isfinite(size.width) &&
         std::isfinite(size.height);
}

bool Rect::contains(Point p) const {
  return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
}

bool Rect::intersects(const Rect& other) const {
  return minX() < other.maxX() && other.minX() < maxX() && minY() < other.maxY() &&
         other.minY() < maxY();
}

Rect Rect::enlarged(double dx, double dy) const {
  return {{minX() - dx, minY() - dy}, {width() + 2 * dx, height() + 2 * dy}};
}

std::string describe(Point p) { return "{" + number(p.x) + ", " + number(p.y) + "}"; }

std::string describe(const Rect& r) {
  return "{" + describe(r.origin) + ", {" + number(r.size.width) + ", " + number(r.size.height) +
         "}}";
}

}  // namespace yakdrom
