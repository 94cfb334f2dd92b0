// The window half of the views used without a display: it remembers its frame and whether
// it is ordered front, so the logic that asks for them behaves as on screen. Main thread.
#pragma once

#include "ime/platform/FloatingWindow.h"

namespace yakdrom {

template <class View>
class HeadlessWindow : public View {
 public:
  /// Keeps the origin and takes the new size.
  void setContentSize(Size size) override { frame_.size = size; }
  /// Moves the remembered frame.
  void setFrameOrigin(Point origin) override { frame_.origin = origin; }
  /// Returns the remembered frame.
  [[nodiscard]] Rect frame() const override { return frame_; }
  /// Returns true between orderFront and orderOut.
  [[nodiscard]] bool isVisible() const override { return visible_; }
  /// Marks the window visible.
  void orderFront() override { visible_ = true; }
  /// Marks the window hidden.
  void orderOut() override { visible_ = false; }

 protected:
  explicit HeadlessWindow(Size contentSize) : frame_{{}, contentSize} {}

 private:
  Rect frame_;
  bool visible_ = false;
};

}  // namespace yakdrom
