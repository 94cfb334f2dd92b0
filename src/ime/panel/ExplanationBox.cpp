#include "ime/panel/ExplanationBox.h"

#include <algorithm>

#include "ime/panel/WindowPlacement.h"

namespace yakdrom {

ExplanationBox::ExplanationBox(std::unique_ptr<ExplanationBoxView> window, const Screens& screens)
    : window_(std::move(window)), screens_(screens) {}

void ExplanationBox::show(std::string_view text, const Font& font, const Rect& anchor, bool below) {
  // The text sits 12 inside the box on either side, 10 above and below.
  constexpr double kTextInsets = 24;
  constexpr double kTextPaddingVertical = 20;
  constexpr double kMinHeight = 44;
  window_->setText(text, font);
  const Rect area = explanationBoxArea(anchor, screens_.screens(), screens_.mainScreen());
  const double width = explanationBoxWidth(anchor, area);
  window_->setTextWidth(width - kTextInsets);
  const double wanted =
      below ? window_->fittingTextHeight() + kTextPaddingVertical : anchor.height();
  const double height = std::max(std::min(area.height() - 20, wanted), kMinHeight);
  window_->setContentSize({width, height});
  window_->setFrameOrigin(explanationBoxOrigin(anchor, {width, height}, area, below));
  window_->orderFront();
}

}  // namespace yakdrom
