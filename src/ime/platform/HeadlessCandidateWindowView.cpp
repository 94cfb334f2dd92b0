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
  content_.columns = content.columns;
  content_.font = content.font;
  content_.explanationFont = content.explanationFont;
  content_.explanationLine = content.explanationLine;
  content_.pageLabel = content.pageLabel;
}

Size HeadlessCandidateWindowView::rowSize(const CandidateRowContent& row) const {
  const double textMax = content_.horizontal    ? kRowTextMaxWidthHorizontal
                         : content_.columns > 1 ? kGridCellTextMaxWidth
                                                : kRowTextMaxWidthVertical;
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

// Rows side by side are one line of as many columns as rows; a column or a grid is lines
// of `columns` cells, each column as wide as its widest cell.
Size HeadlessCandidateWindowView::stripSize() const {
  const auto& rows = content_.rows;
  const std::size_t columns = content_.horizontal ? std::max<std::size_t>(rows.size(), 1)
                                                  : std::max<std::size_t>(content_.columns, 1);
  const double columnSpacing = content_.horizontal || columns > 1 ? 4 : 0;
  std::vector<double> widths(columns, 0);
  Size strip;
  for (std::size_t line = 0; line * columns < rows.size(); ++line) {
    double lineHeight = 0;
    for (std::size_t i = line * columns; i < std::min(rows.size(), (line + 1) * columns); ++i) {
      const Size s = rowSize(rows[i]);
      widths[i % columns] = std::max(widths[i % columns], s.width);
      lineHeight = std::max(lineHeight, s.height);
    }
    strip.height += lineHeight + (line > 0 ? 2 : 0);
  }
  for (std::size_t c = 0; c < columns; ++c) {
    strip.width += widths[c] + (c > 0 && widths[c] > 0 ? columnSpacing : 0);
  }
  return strip;
}

Size HeadlessCandidateWindowView::fittingSize() const {
  Size strip = stripSize();
  if (content_.explanationLine) {
    // The line is never wider than the rows above it (its text truncates instead); it sits
    // 2 below them with insets 4 above and 6 below its text.
    strip.height += 2 + 4 + lineHeight(content_.explanationFont) + 6;
  }
  return {strip.width + 2 * kStackInset, strip.height + 2 * kStackInset};
}

}  // namespace yakdrom
