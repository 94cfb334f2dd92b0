// A borderless window that floats above every application and never takes keyboard focus:
// what the candidate window and the explanation box have in common. Main thread.
#pragma once

#include "ime/platform/Geometry.h"

namespace yakdrom {

class FloatingWindow {
 public:
  virtual ~FloatingWindow() = default;

  /// Resizes the window so its content area is `size`, keeping its origin.
  virtual void setContentSize(Size size) = 0;

  /// Moves the window's bottom-left corner to `origin`.
  virtual void setFrameOrigin(Point origin) = 0;

  /// Returns the window's frame in screen coordinates.
  [[nodiscard]] virtual Rect frame() const = 0;

  /// Returns true while the window is on screen.
  [[nodiscard]] virtual bool isVisible() const = 0;

  /// Shows the window above the others without activating this program.
  virtual void orderFront() = 0;

  /// Takes the window off the screen; its content and frame stay.
  virtual void orderOut() = 0;
};

}  // namespace yakdrom
