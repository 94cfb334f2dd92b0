#include "ui/CandidateWindowLayout.h"

#include <QFontMetricsF>
#include <algorithm>
#include <numeric>

#include "ui/QtFont.h"

namespace yakdrom {
namespace {

constexpr double kStackInset = 6;
constexpr double kRowTop = 6;
constexpr double kRowBottom = 6;
constexpr double kRowLeft = 9;
constexpr double kRowRight = 12;
constexpr double kPartSpacing = 10;
constexpr double kLineSpacing = 2;  // between stacked rows, and above the explanation line
constexpr double kCellSpacing = 4;  // between rows side by side and between grid cells
constexpr double kLineTop = 4;
constexpr double kLineBottom = 6;
constexpr double kLineLeft = 9;
constexpr double kLineRight = 12;
constexpr double kLineButtonSpacing = 6;
constexpr double kButtonPadding = 4;
constexpr double kNumberPointSize = 11;
constexpr double kMoreButtonPointSize = 12;
constexpr double kPagePointSize = 10;
// Room kept above and below the ink of the texts, for antialiasing and marks that reach a
// little beyond the measured outline.
constexpr double kInkPadding = 2;
const QString kMore = QStringLiteral("…");

// How far texts reach above and below their baseline.
struct Extent {
  double ascent;
  double descent;

  void include(const QRectF& ink) {
    ascent = std::max(ascent, -ink.top());
    descent = std::max(descent, ink.bottom());
  }
};

double textLimit(const CandidateWindowContent& content) {
  if (content.horizontal) return kRowTextMaxWidthHorizontal;
  return content.columns > 1 ? kGridCellTextMaxWidth : kRowTextMaxWidthVertical;
}

// Takes `excess` out of `width`, as far as it goes, and returns what is left to take.
double giveWay(double& width, double excess) {
  const double taken = std::min(width, excess);
  width -= taken;
  return excess - taken;
}

// Narrows the widest of `widths` to one common width, as far as needed for all of them to
// fit into `available`, so that short candidates stay whole and long ones are cut.
void narrowWidest(std::vector<double>& widths, double available) {
  std::vector<double> sorted = widths;
  std::sort(sorted.begin(), sorted.end());
  double remaining = available;
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    const auto wider = static_cast<double>(sorted.size() - i);
    if (sorted[i] * wider <= remaining) {
      remaining -= sorted[i];
      continue;
    }
    const double cap = std::max(0.0, remaining / wider);
    for (double& w : widths) w = std::min(w, cap);
    return;
  }
}

}  // namespace

CandidateWindowFonts CandidateWindowFonts::forContent(const CandidateWindowContent& content) {
  return {toQFont(content.font), toQFont(content.explanationFont),
          toQFont(Font::system(kNumberPointSize)), toQFont(Font::system(kMoreButtonPointSize)),
          toQFont(Font::system(kPagePointSize))};
}

void CandidateWindowLayout::measure(const CandidateWindowContent& content,
                                    const CandidateWindowFonts& fonts, ShapedTextCache& cache) {
  cache.trim();
  const ShapedTextCache::Shaped& more = cache.shaped(kMore, fonts.moreButton);
  const double moreWidth = more.advance + kButtonPadding;
  horizontal_ = content.horizontal;
  columns_ = std::max<std::size_t>(content.columns, 1);
  cells_.resize(content.rows.size());
  // Tibetan fonts reserve room for the deepest stacks on every line, which would make
  // each row three lines tall; rows take the ink of the page's texts instead, all rows
  // alike, so they keep their place as the selection (and its explanation) moves.
  const QFontMetricsF number(fonts.number);
  Extent extent{number.ascent(), number.descent()};
  for (std::size_t i = 0; i < content.rows.size(); ++i) {
    const CandidateRowContent& row = content.rows[i];
    Cell& cell = cells_[i];
    cell.index = row.index;
    cell.isSelected = row.isSelected;
    cell.number = &cache.shaped(QString::fromStdString(row.number), fonts.number);
    cell.text = &cache.shaped(QString::fromStdString(row.text), fonts.candidate);
    cell.numberWidth = cell.number->advance;
    cell.textWidth = std::min(cell.text->advance, textLimit(content));
    extent.include(cell.text->ink);
    cell.hasExplanation = row.explanation.has_value();
    cell.explanation = cell.hasExplanation ? &cache.shaped(QString::fromStdString(*row.explanation),
                                                           fonts.explanation)
                                           : nullptr;
    cell.explanationWidth =
        cell.hasExplanation ? std::min(cell.explanation->advance, kRowExplanationMaxWidth) : 0;
    if (cell.hasExplanation) extent.include(cell.explanation->ink);
    cell.hasMore = row.showsMoreButton;
    cell.moreWidth = cell.hasMore ? moreWidth : 0;
    if (cell.hasMore) extent.include(more.ink);
  }
  // Numbers take the width of the widest, so that texts line up past "9".
  double numbers = 0;
  for (const Cell& cell : cells_) numbers = std::max(numbers, cell.numberWidth);
  for (Cell& cell : cells_) cell.numberWidth = numbers;
  rowAscent_ = extent.ascent + kInkPadding;
  rowHeight_ = kRowTop + rowAscent_ + extent.descent + kInkPadding + kRowBottom;

  hasLine_ = content.explanationLine.has_value();
  if (hasLine_) {
    lineShaped_ =
        &cache.shaped(QString::fromStdString(content.explanationLine->text), fonts.explanation);
    lineTextWidth_ = std::min(lineShaped_->advance, kLineExplanationMaxWidth);
    lineHasMore_ = content.explanationLine->showsMoreButton;
    lineMoreWidth_ = lineHasMore_ ? moreWidth : 0;
    Extent line{0, 0};
    line.include(lineShaped_->ink);
    if (lineHasMore_) line.include(more.ink);
    lineAscent_ = line.ascent + kInkPadding;
    lineHeight_ = kLineTop + lineAscent_ + line.descent + kInkPadding + kLineBottom;
  }

  const std::size_t lines = (cells_.size() + columnCount() - 1) / columnCount();
  const double stripHeight =
      static_cast<double>(lines) * rowHeight_ + (lines > 1 ? (lines - 1) * kLineSpacing : 0);
  const double stripWidth = spanOf(columnWidths(), horizontal_ || columns_ > 1 ? kCellSpacing : 0);
  const double lineWidth =
      hasLine_ ? std::min(kLineLeft + lineTextWidth_ +
                              (lineHasMore_ ? kLineButtonSpacing + lineMoreWidth_ : 0) + kLineRight,
                          stripWidth)
               : 0;
  fitting_ = {std::max(stripWidth, lineWidth) + 2 * kStackInset,
              stripHeight + (hasLine_ ? kLineSpacing + lineHeight_ : 0) + 2 * kStackInset};
}

double CandidateWindowLayout::naturalWidth(const Cell& cell) {
  return kRowLeft + cell.numberWidth + kPartSpacing + cell.textWidth +
         (cell.hasExplanation ? kPartSpacing + cell.explanationWidth : 0) +
         (cell.hasMore ? kPartSpacing + cell.moreWidth : 0) + kRowRight;
}

std::size_t CandidateWindowLayout::columnCount() const {
  return horizontal_ ? std::max<std::size_t>(cells_.size(), 1) : columns_;
}

std::vector<double> CandidateWindowLayout::columnWidths() const {
  std::vector<double> widths(std::min(columnCount(), std::max<std::size_t>(cells_.size(), 1)), 0);
  for (std::size_t i = 0; i < cells_.size(); ++i) {
    double& column = widths[i % widths.size()];
    column = std::max(column, naturalWidth(cells_[i]));
  }
  return widths;
}

double CandidateWindowLayout::spanOf(const std::vector<double>& widths, double spacing) {
  return std::accumulate(widths.begin(), widths.end(), 0.0) +
         (widths.empty() ? 0 : static_cast<double>(widths.size() - 1) * spacing);
}

void CandidateWindowLayout::arrange(double width) {
  const double spacing = horizontal_ || columns_ > 1 ? kCellSpacing : 0;
  std::vector<double> widths = columnWidths();
  const double gaps = spanOf(widths, spacing) - std::accumulate(widths.begin(), widths.end(), 0.0);
  const double available = width - 2 * kStackInset - gaps;
  if (widths.size() == 1) {
    widths.front() = available;  // a single column spans the window
  } else {
    narrowWidest(widths, available);
  }
  rows_.clear();
  for (std::size_t i = 0; i < cells_.size(); ++i) {
    const std::size_t column = i % widths.size();
    const std::size_t line = i / widths.size();
    double left = kStackInset;
    for (std::size_t c = 0; c < column; ++c) left += widths[c] + spacing;
    const double top = kStackInset + static_cast<double>(line) * (rowHeight_ + kLineSpacing);
    rows_.push_back(place(cells_[i], QRectF(left, top, widths[column], rowHeight_)));
  }
  const std::size_t lines = (cells_.size() + widths.size() - 1) / widths.size();
  const double stripBottom =
      kStackInset + static_cast<double>(lines) * (rowHeight_ + kLineSpacing) - kLineSpacing;
  placeLine(stripBottom + kLineSpacing, spanOf(widths, spacing));
}

RowGeometry CandidateWindowLayout::place(const Cell& cell, const QRectF& area) const {
  double text = cell.textWidth;
  double explanation = cell.explanationWidth;
  const double excess = std::max(0.0, naturalWidth(cell) - area.width());
  giveWay(text, giveWay(explanation, excess));
  const double baseline = area.top() + kRowTop + rowAscent_;
  RowGeometry row{cell.index, area, cell.isSelected, {}, {}, std::nullopt, std::nullopt};
  double x = area.left() + kRowLeft;
  row.number = {cell.number, cell.number->layout.text(), x, baseline, cell.numberWidth};
  x += cell.numberWidth + kPartSpacing;
  row.text = {cell.text, cell.text->layout.text(), x, baseline, text};
  x += text;
  if (cell.hasExplanation) {
    row.explanation = TextPlacement{cell.explanation, cell.explanation->layout.text(),
                                    x + kPartSpacing, baseline, explanation};
    x += kPartSpacing + explanation;
  }
  if (cell.hasMore) {
    row.moreButton = QRectF(x + kPartSpacing, area.top(), cell.moreWidth, area.height());
  }
  return row;
}

void CandidateWindowLayout::placeLine(double top, double stripWidth) {
  line_.reset();
  lineMore_.reset();
  if (!hasLine_) return;
  const double more = lineHasMore_ ? kLineButtonSpacing + lineMoreWidth_ : 0;
  const double label =
      std::max(0.0, std::min(lineTextWidth_, stripWidth - kLineLeft - more - kLineRight));
  const double left = kStackInset + kLineLeft;
  line_ = TextPlacement{lineShaped_, lineShaped_->layout.text(), left, top + kLineTop + lineAscent_,
                        label};
  if (lineHasMore_) {
    lineMore_ = QRectF(left + label + kLineButtonSpacing, top, lineMoreWidth_, lineHeight_);
  }
}

}  // namespace yakdrom
