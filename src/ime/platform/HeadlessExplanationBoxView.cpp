#include "ime/platform/HeadlessExplanationBoxView.h"

#include <algorithm>
#include <cmath>

namespace yakdrom {

HeadlessExplanationBoxView::HeadlessExplanationBoxView(const TextMeasurer& measurer)
    : HeadlessWindow({360, 160}), measurer_(measurer) {}

void HeadlessExplanationBoxView::setText(std::string_view text, const Font& font) {
  text_ = text;
  font_ = font;
}

double HeadlessExplanationBoxView::fittingTextHeight() const {
  constexpr double kLineHeightPerEm = 1.25;
  const double width = measurer_.singleLineWidth(text_, font_);
  const double lines = textWidth_ > 0 ? std::max(1.0, std::ceil(width / textWidth_)) : 1.0;
  return lines * font_.pointSize * kLineHeightPerEm;
}

}  // namespace yakdrom
