// The floating box with a candidate's full explanation: sizes it to the text and places it
// below or beside the candidate window, inside the screen. Owned by CandidatePanel.
// Main thread.
#pragma once

#include <memory>
#include <string_view>

#include "ime/platform/ExplanationBoxView.h"
#include "ime/platform/Screens.h"

namespace yakdrom {

class ExplanationBox {
 public:
  /// Takes the box's window; `screens` must outlive the box.
  ExplanationBox(std::unique_ptr<ExplanationBoxView> window, const Screens& screens);

  /// Shows `text` in `font` next to `anchor` (the candidate window's frame): below it when
  /// `below`, else beside it, as wide as the anchor within the screen, and as tall as the
  /// text (below) or the anchor (beside), at least 44.
  void show(std::string_view text, const Font& font, const Rect& anchor, bool below);

  /// Takes the box off the screen.
  void hide() { window_->orderOut(); }

  /// Returns the box's window.
  [[nodiscard]] ExplanationBoxView& window() { return *window_; }
  [[nodiscard]] const ExplanationBoxView& window() const { return *window_; }

 private:
  std::unique_ptr<ExplanationBoxView> window_;
  const Screens& screens_;
};

}  // namespace yakdrom
