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

// Tibetan fonts reserve room for the deepest stacks on every line, which would make each
// row three lines tall; rows take the ink of the page's texts instead, all rows alike, so
// they keep their place as the selection (and its explanation) moves.
void CandidateWindowLayout::measure(const CandidateWindowContent& content,
                                    const CandidateWindowFonts& fonts, ShapedTextCache& cache) {
  cache.trim();
  const ShapedTextCache::Shaped& more = cache.shaped(kMore, fonts.moreButton);
  horizontal_ = content.horizontal;
  columns_ = std::max<std::size_t>(content.columns, 1);
  cells_.resize(content.rows.size());
  const QFontMetricsF number(fonts.number);
  Extent extent{number.ascent(), number.descent()};
  double numbers = 0;
  for (std::size_t i = 0; i < content.rows.size(); ++i) {
    cells_[i] = measureCell(content.rows[i], textLimit(content), fonts, cache, more);
    extent.include(cells_[i].ink);
    numbers = std::max(numbers, cells_[i].numberWidth);
  }
  // Numbers take the width of the widest, so that texts line up past "9".
  for (Cell& cell : cells_) cell.numberWidth = numbers;
  rowAscent_ = extent.ascent + kInkPadding;
  rowHeight_ = kRowTop + rowAscent_ + extent.descent + kInkPadding + kRowBottom;
  measureLine(content.explanationLine, fonts, cache, more);
  const double stripWidth = spanOf(columnWidths(), cellSpacing());
  const double lineWidth = hasLine_ ? std::min(lineNaturalWidth(), stripWidth) : 0;
  fitting_ = {std::max(stripWidth, lineWidth) + 2 * kStackInset,
              stripBottom() + (hasLine_ ? kLineSpacing + lineHeight_ : 0) + kStackInset};
}

CandidateWindowLayout::Cell CandidateWindowLayout::measureCell(
    const CandidateRowContent& row, double textLimit, const CandidateWindowFonts& fonts,
    ShapedTextCache& cache, const ShapedTextCache::Shaped& more) {
  Cell cell;
  cell.index = row.index;
  cell.isSelected = row.isSelected;
  cell.number = &cache.shaped(QString::fromStdString(row.number), fonts.number);
  cell.text = &cache.shaped(QString::fromStdString(row.text), fonts.candidate);
  cell.numberWidth = cell.number->advance;
  cell.textWidth = std::min(cell.text->advance, textLimit);
  cell.ink = cell.text->ink;
  if (row.explanation) {
    cell.explanation = &cache.shaped(QString::fromStdString(*row.explanation), fonts.explanation);
    cell.explanationWidth = std::min(cell.explanation->advance, kRowExplanationMaxWidth);
    cell.ink |= cell.explanation->ink;
  }
  if (row.showsMoreButton) {
    cell.moreWidth = more.advance + kButtonPadding;
    cell.ink |= more.ink;
  }
  return cell;
}

void CandidateWindowLayout::measureLine(const std::optional<ExplanationLineContent>& line,
                                        const CandidateWindowFonts& fonts, ShapedTextCache& cache,
                                        const ShapedTextCache::Shaped& more) {
  hasLine_ = line.has_value();
  if (!hasLine_) return;
  lineShaped_ = &cache.shaped(QString::fromStdString(line->text), fonts.explanation);
  lineTextWidth_ = std::min(lineShaped_->advance, kLineExplanationMaxWidth);
  lineMoreWidth_ = line->showsMoreButton ? more.advance + kButtonPadding : 0;
  Extent extent{0, 0};
  extent.include(lineShaped_->ink);
  if (line->showsMoreButton) extent.include(more.ink);
  lineAscent_ = extent.ascent + kInkPadding;
  lineHeight_ = kLineTop + lineAscent_ + extent.descent + kInkPadding + kLineBottom;
}

double CandidateWindowLayout::lineNaturalWidth() const {
  return kLineLeft + lineTextWidth_ +
         (lineMoreWidth_ > 0 ? kLineButtonSpacing + lineMoreWidth_ : 0) + kLineRight;
}

double CandidateWindowLayout::cellSpacing() const {
  return horizontal_ || columns_ > 1 ? kCellSpacing : 0;
}

std::size_t CandidateWindowLayout::lineCount() const {
  return (cells_.size() + columnCount() - 1) / columnCount();
}

double CandidateWindowLayout::stripBottom() const {
  const auto lines = static_cast<double>(lineCount());
  return kStackInset + lines * rowHeight_ + std::max(0.0, lines - 1) * kLineSpacing;
}

double CandidateWindowLayout::naturalWidth(const Cell& cell) {
  return kRowLeft + cell.numberWidth + kPartSpacing + cell.textWidth +
         (cell.explanation != nullptr ? kPartSpacing + cell.explanationWidth : 0) +
         (cell.moreWidth > 0 ? kPartSpacing + cell.moreWidth : 0) + kRowRight;
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
  const double spacing = cellSpacing();
  std::vector<double> widths = columnWidths();
  const double available =
      width - 2 * kStackInset - static_cast<double>(widths.size() - 1) * spacing;
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
  placeLine(stripBottom() + kLineSpacing, spanOf(widths, spacing));
}

RowGeometry CandidateWindowLayout::place(const Cell& cell, const QRectF& area) const {
  double text = cell.textWidth;
  double explanation = cell.explanationWidth;
  const double excess = std::max(0.0, naturalWidth(cell) - area.width());
  giveWay(text, giveWay(explanation, excess));
  const double baseline = area.top() + kRowTop + rowAscent_;
  RowGeometry row{cell.index, area, cell.isSelected, {}, {}, std::nullopt, std::nullopt};
  double x = area.left() + kRowLeft;
  row.number = {cell.number, x, baseline, cell.numberWidth};
  x += cell.numberWidth + kPartSpacing;
  row.text = {cell.text, x, baseline, text};
  x += text;
  if (cell.explanation != nullptr) {
    row.explanation = TextPlacement{cell.explanation, x + kPartSpacing, baseline, explanation};
    x += kPartSpacing + explanation;
  }
  if (cell.moreWidth > 0) {
    row.moreButton = QRectF(x + kPartSpacing, area.top(), cell.moreWidth, area.height());
  }
  return row;
}

void CandidateWindowLayout::placeLine(double top, double stripWidth) {
  line_.reset();
  lineMore_.reset();
  if (!hasLine_) return;
  const double more = lineMoreWidth_ > 0 ? kLineButtonSpacing + lineMoreWidth_ : 0;
  const double label =
      std::max(0.0, std::min(lineTextWidth_, stripWidth - kLineLeft - more - kLineRight));
  const double left = kStackInset + kLineLeft;
  line_ = TextPlacement{lineShaped_, left, top + kLineTop + lineAscent_, label};
  if (lineMoreWidth_ > 0) {
    lineMore_ = QRectF(left + label + kLineButtonSpacing, top, lineMoreWidth_, lineHeight_);
  }
}

}  // namespace yakdrom
