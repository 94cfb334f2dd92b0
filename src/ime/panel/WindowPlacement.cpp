#include "ime/panel/WindowPlacement.h"

#include <algorithm>

namespace yakdrom {
namespace {

constexpr double kScreenMargin = 4;

std::optional<Screen> caretScreen(const Rect& caret, const std::vector<Screen>& screens,
                                  const std::optional<Screen>& mainScreen) {
  for (const auto& s : screens) {
    if (s.frame.contains(caret.origin)) return s;
  }
  for (const auto& s : screens) {
    if (s.frame.intersects(caret)) return s;
  }
  return mainScreen;
}

// Keeps [start, start + length) inside [low, high) with the margin; when the window does not
// fit at all, the upper bound wins, as the clamps are applied in that order.
double clampInside(double start, double length, double low, double high) {
  start = std::max(start, low + kScreenMargin);
  return std::min(start, high - length - kScreenMargin);
}

}  // namespace

Point candidateWindowOrigin(const Rect& caret, Size window, const std::vector<Screen>& screens,
                            const std::optional<Screen>& mainScreen) {
  constexpr double kGap = 4;
  const double h = window.height;
  const double w = window.width;
  const auto screen = caretScreen(caret, screens, mainScreen);
  if (!screen) return {caret.minX(), caret.minY() - h - kGap};
  const Rect& v = screen->visibleFrame;
  const double roomBelow = caret.minY() - v.minY();
  const double roomAbove = v.maxY() - caret.maxY();
  const bool under = h + 2 * kGap <= roomBelow || roomAbove <= roomBelow;
  const double y = under ? caret.minY() - h - kGap : caret.maxY() + kGap;
  return {clampInside(caret.minX(), w, v.minX(), v.maxX()), clampInside(y, h, v.minY(), v.maxY())};
}

Rect explanationBoxArea(const Rect& anchor, const std::vector<Screen>& screens,
                        const std::optional<Screen>& mainScreen) {
  for (const auto& s : screens) {
    if (s.frame.intersects(anchor)) return s.visibleFrame;
  }
  return mainScreen ? mainScreen->visibleFrame : Rect{};
}

double explanationBoxWidth(const Rect& anchor, const Rect& area) {
  constexpr double kMinWidth = 160;
  return std::max(std::min(std::max(area.width() - 40, kMinWidth), anchor.width()), kMinWidth);
}

Point explanationBoxOrigin(const Rect& anchor, Size box, const Rect& area, bool below) {
  constexpr double kGap = 6;
  double x = 0;
  double y = 0;
  if (below) {
    x = anchor.minX();
    y = anchor.minY() - box.height - kGap;
    if (y < area.minY()) y = anchor.maxY() + kGap;
  } else {
    x = anchor.maxX() + kGap;
    y = anchor.maxY() - box.height;
    if (area.maxX() < x + box.width) x = anchor.minX() - box.width - kGap;
  }
  return {clampInside(x, box.width, area.minX(), area.maxX()),
          clampInside(y, box.height, area.minY(), area.maxY())};
}

}  // namespace yakdrom
