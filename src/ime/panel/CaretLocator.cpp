#include "ime/panel/CaretLocator.h"

#include <cmath>

namespace yakdrom {

CaretLocator::CaretLocator(const Screens& screens, Log& log) : screens_(screens), log_(log) {}

Rect CaretLocator::caretRect(const TextInputClient* client) {
  if (client) {
    if (auto rect = clientCaretRect(*client)) {
      lastCaretRect_ = rect;
      return *rect;
    }
  }
  return fallbackRect();
}

std::optional<Rect> CaretLocator::clientCaretRect(const TextInputClient& client) {
  const auto lineRect = client.lineHeightRect(0);
  if (lineRect && isValidCaretRect(*lineRect)) return lineRect;
  const TextRange selection = client.selectedRange();
  std::optional<Rect> firstRect;
  if (selection.location != TextRange::kNotFound) {
    firstRect = client.firstRect(selection);
    if (firstRect && isValidCaretRect(*firstRect)) return firstRect;
  }
  log_.write("caretRect 客户端上报无效（sel=" + describe(selection) +
             " lineRect=" + describe(lineRect.value_or(Rect{})) +
             " firstRect=" + describe(firstRect.value_or(Rect{})) + "），回退缓存/鼠标");
  return std::nullopt;
}

Rect CaretLocator::fallbackRect() const {
  constexpr double kHeight = 20;
  if (lastCaretRect_) return *lastCaretRect_;
  const Point mouse = screens_.mouseLocation();
  for (const auto& screen : screens_.screens()) {
    if (screen.frame.contains(mouse)) return {{mouse.x, mouse.y - kHeight}, {1, kHeight}};
  }
  const auto main = screens_.mainScreen();
  const Rect visible = main ? main->visibleFrame : Rect{};
  return {{visible.midX(), visible.midY()}, {1, kHeight}};
}

bool CaretLocator::isValidCaretRect(const Rect& r) const {
  constexpr double kMaxHeight = 200;
  constexpr double kMaxWidth = 2000;
  constexpr double kScreenSlack = 100;
  constexpr double kCornerTolerance = 2;
  if (!r.isFinite() || r == Rect{}) return false;
  if (!(r.size.height > 0 && r.size.height <= kMaxHeight && r.size.width <= kMaxWidth)) {
    return false;
  }
  for (const auto& screen : screens_.screens()) {
    const Rect& f = screen.frame;
    if (!f.enlarged(kScreenSlack, kScreenSlack).contains(r.origin)) continue;
    // Some clients report the origin of the screen when they have no idea where the caret is.
    return !(std::abs(r.origin.x - f.minX()) < kCornerTolerance &&
             std::abs(r.origin.y - f.minY()) < kCornerTolerance);
  }
  return false;
}

}  // namespace yakdrom
