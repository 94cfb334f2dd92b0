#include "ime/platform/HeadlessCandidateWindowView.h"

#include <algorithm>

#include "ime/platform/ResizeKeepingRoom.h"

namespace yakdrom {
namespace {

// The margins and spacings of the drawn window, so estimates land where the real window
// would: stack insets 6, rows 6 above and below, 9 left and 12 right, parts 10 apart.
constexpr double kStackInset = 6;
constexpr double kRowPaddingVertical = 12;
constexpr double kRowPaddingHorizontal = 9 + 12;
constexpr double kPartSpacing = 10;
constexpr double kNumberFontSize = 11;
constexpr double kMoreButtonWidth = 12;
constexpr double kLineHeightPerEm = 1.25;

double lineHeight(const Font& font) { return font.pointSize * kLineHeightPerEm; }

}  // namespace

HeadlessCandidateWindowView::HeadlessCandidateWindowView(const TextMeasurer& measurer)
    : HeadlessWindow({200, 40}), measurer_(measurer) {}

// Copied part by part, so that each row keeps its strings' buffers from key to key.
void HeadlessCandidateWindowView::display(const CandidateWindowContent& content) {
  resizeKeepingRoom(content_.rows, content.rows.size(), spareRows_);
  std::copy(content.rows.begin(), content.rows.end(), content_.rows.begin());
  content_.horizontal = content.horizontal;
  content_.font = content.font;
  content_.explanationFont = content.explanationFont;
  content_.explanationLine = content.explanationLine;
  content_.pageLabel = content.pageLabel;
}

Size HeadlessCandidateWindowView::rowSize(const CandidateRowContent& row) const {
  const double textMax =
      content_.horizontal ? kRowTextMaxWidthHorizontal : kRowTextMaxWidthVertical;
  double width =
      kRowPaddingHorizontal + measurer_.singleLineWidth(row.number, Font::system(kNumberFontSize)) +
      kPartSpacing + std::min(measurer_.singleLineWidth(row.text, content_.font), textMax);
  double height = lineHeight(content_.font);
  if (row.explanation) {
    width += kPartSpacing +
             std::min(measurer_.singleLineWidth(*row.explanation, content_.explanationFont),
                      kRowExplanationMaxWidth);
    height = std::max(height, lineHeight(content_.explanationFont));
  }
  if (row.showsMoreButton) width += kPartSpacing + kMoreButtonWidth;
  return {width, height + kRowPaddingVertical};
}

Size HeadlessCandidateWindowView::fittingSize() const {
  const double spacing = content_.horizontal ? 4 : 2;
  Size strip;
  for (const auto& row : content_.rows) {
    const Size s = rowSize(row);
    if (content_.horizontal) {
      strip.width += s.width + (strip.width > 0 ? spacing : 0);
      strip.height = std::max(strip.height, s.height);
    } else {
      strip.width = std::max(strip.width, s.width);
      strip.height += s.height + (strip.height > 0 ? spacing : 0);
    }
  }
  if (content_.explanationLine) {
    // The line is never wider than the rows above it (its text truncates instead); it sits
    // 2 below them with insets 4 above and 6 below its text.
    strip.height += 2 + 4 + lineHeight(content_.explanationFont) + 6;
  }
  return {strip.width + 2 * kStackInset, strip.height + 2 * kStackInset};
}

}  // namespace yakdrom
