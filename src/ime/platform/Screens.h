// The displays the windows are placed on, and the mouse pointer, in screen coordinates
// (origin bottom left, y up). Main thread.
#pragma once

#include <optional>
#include <vector>

#include "ime/platform/Geometry.h"

namespace yakdrom {

struct Screen {
  Rect frame;
  /// The part of the frame that windows may use (without panels and docks).
  Rect visibleFrame;

  friend bool operator==(const Screen&, const Screen&) = default;
};

class Screens {
 public:
  virtual ~Screens() = default;

  /// Returns every screen, in the platform's order. Windows are placed on every key, so the
  /// list is kept rather than made for each call; it lasts until the screens change.
  [[nodiscard]] virtual const std::vector<Screen>& screens() const = 0;

  /// Returns the screen holding the focused window, or nothing when there is no screen.
  [[nodiscard]] virtual std::optional<Screen> mainScreen() const = 0;

  /// Returns where the mouse pointer is.
  [[nodiscard]] virtual Point mouseLocation() const = 0;
};

/// The screens of a program without a display: none, and the pointer at the origin.
class NoScreens final : public Screens {
 public:
  /// Returns an empty list.
  [[nodiscard]] const std::vector<Screen>& screens() const override { return none_; }
  /// Returns nothing.
  [[nodiscard]] std::optional<Screen> mainScreen() const override { return std::nullopt; }
  /// Returns the origin.
  [[nodiscard]] Point mouseLocation() const override { return {}; }

 private:
  const std::vector<Screen> none_{};
};

}  // namespace yakdrom
