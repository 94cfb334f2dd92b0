// Where every part of the candidate window goes, measured with the fonts it is drawn in:
// rows of number, text, explanation and "…" on one baseline, in one line (single row), one
// column, or lines of cells (grid); the explanation line under them. Text is measured once
// per content; arranging it for a window width is arithmetic, and text that does not fit
// its width is cut at the tail when drawn. Main thread (fonts).
#pragma once

#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <optional>
#include <vector>

#include "ime/platform/CandidateWindowView.h"
#include "ui/ShapedTextCache.h"

namespace yakdrom {

/// The fonts of the window's parts.
struct CandidateWindowFonts {
  QFont candidate;
  QFont explanation;
  QFont number;
  QFont moreButton;
  QFont page;

  /// Returns the fonts for `content`'s candidate and explanation fonts.
  [[nodiscard]] static CandidateWindowFonts forContent(const CandidateWindowContent& content);
};

/// A shaped text drawn on `baseline` from `left`, cut at the tail to `width`.
struct TextPlacement {
  const ShapedTextCache::Shaped* shaped = nullptr;
  double left = 0;
  double baseline = 0;
  double width = 0;
};

struct RowGeometry {
  std::size_t index = 0;
  QRectF background;
  bool isSelected = false;
  TextPlacement number;
  TextPlacement text;
  std::optional<TextPlacement> explanation;
  /// The "…" button; a press in it asks for the whole explanation.
  std::optional<QRectF> moreButton;
};

class CandidateWindowLayout {
 public:
  /// Measures every part of `content` in `fonts`, shaping through `cache`; what the layout
  /// holds stays valid until the next measure.
  void measure(const CandidateWindowContent& content, const CandidateWindowFonts& fonts,
               ShapedTextCache& cache);

  /// Returns the size the rows and the explanation line need, with the insets around them.
  [[nodiscard]] QSizeF fitting() const { return fitting_; }

  /// Places the parts in a window `width` wide: a single column's rows span it; past the
  /// fitting width, explanations give way first, then candidate texts.
  void arrange(double width);

  [[nodiscard]] const std::vector<RowGeometry>& rows() const { return rows_; }
  [[nodiscard]] const std::optional<TextPlacement>& explanationLine() const { return line_; }
  [[nodiscard]] const std::optional<QRectF>& lineMoreButton() const { return lineMore_; }

 private:
  // One row's parts and their natural widths; an absent explanation is null, an absent
  // "…" button has no width.
  struct Cell {
    std::size_t index = 0;
    bool isSelected = false;
    const ShapedTextCache::Shaped* number = nullptr;
    const ShapedTextCache::Shaped* text = nullptr;
    const ShapedTextCache::Shaped* explanation = nullptr;
    double numberWidth = 0, textWidth = 0, explanationWidth = 0, moreWidth = 0;
    QRectF ink;
  };

  [[nodiscard]] static Cell measureCell(const CandidateRowContent& row, double textLimit,
                                        const CandidateWindowFonts& fonts, ShapedTextCache& cache,
                                        const ShapedTextCache::Shaped& more);
  void measureLine(const std::optional<ExplanationLineContent>& line,
                   const CandidateWindowFonts& fonts, ShapedTextCache& cache,
                   const ShapedTextCache::Shaped& more);
  [[nodiscard]] static double naturalWidth(const Cell& cell);
  [[nodiscard]] double lineNaturalWidth() const;
  [[nodiscard]] double cellSpacing() const;
  [[nodiscard]] std::size_t columnCount() const;
  [[nodiscard]] std::size_t lineCount() const;
  [[nodiscard]] double stripBottom() const;
  [[nodiscard]] std::vector<double> columnWidths() const;
  [[nodiscard]] static double spanOf(const std::vector<double>& widths, double spacing);
  [[nodiscard]] RowGeometry place(const Cell& cell, const QRectF& area) const;
  void placeLine(double top, double stripWidth);

  bool horizontal_ = false;
  std::size_t columns_ = 1;
  std::vector<Cell> cells_;
  double rowAscent_ = 0;
  double rowHeight_ = 0;
  bool hasLine_ = false;
  const ShapedTextCache::Shaped* lineShaped_ = nullptr;
  double lineTextWidth_ = 0, lineMoreWidth_ = 0, lineAscent_ = 0, lineHeight_ = 0;
  QSizeF fitting_;

  std::vector<RowGeometry> rows_;
  std::optional<TextPlacement> line_;
  std::optional<QRectF> lineMore_;
};

}  // namespace yakdrom
