// Finds the client's caret on screen for placing the candidate window. Clients report bogus
// rectangles now and then (zero, at a screen corner, absurdly tall), so reports are checked
// and the last good one, the mouse pointer or the screen centre stands in. Main thread.
#pragma once

#include <optional>

#include "ime/platform/Log.h"
#include "ime/platform/Screens.h"
#include "ime/platform/TextInputClient.h"

namespace yakdrom {

class CaretLocator {
 public:
  /// Uses `screens` and writes to `log`; both must outlive the locator.
  CaretLocator(const Screens& screens, Log& log);

  /// Returns the caret rectangle of `client` (which may be null), first success winning:
  /// the line rectangle at index 0, the first rectangle of the selection, the last good
  /// rectangle, a 1 x 20 rectangle hanging below the mouse pointer when it is on a screen,
  /// a 1 x 20 rectangle at the centre of the main screen's visible frame. A client whose
  /// reports are both rejected leaves one log line.
  [[nodiscard]] Rect caretRect(const TextInputClient* client);

  /// Returns true when `r` is plausible: finite, not all zero, 0 < height <= 200,
  /// width <= 2000, its origin on or within 100 of a screen and not within 2 of that
  /// screen's bottom-left corner.
  [[nodiscard]] bool isValidCaretRect(const Rect& r) const;

  /// Returns the last rectangle that passed the check.
  [[nodiscard]] const std::optional<Rect>& lastCaretRect() const { return lastCaretRect_; }

  /// Forgets the last rectangle (a new client starts without one).
  void clear() { lastCaretRect_.reset(); }

 private:
  [[nodiscard]] std::optional<Rect> clientCaretRect(const TextInputClient& client);
  [[nodiscard]] Rect fallbackRect() const;

  const Screens& screens_;
  Log& log_;
  std::optional<Rect> lastCaretRect_;
};

}  // namespace yakdrom
