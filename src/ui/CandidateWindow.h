// The candidate window on the desktop: a floating panel that draws exactly the content the
// candidate list decided (rows, the explanation line, the page label) in the panel colours
// of the current appearance, reports its fitting size from the fonts it draws with, and
// reports presses on rows and on "…" through the installed actions. Main thread.
#pragma once

#include <optional>
#include <utility>

#include "ime/platform/CandidateWindowView.h"
#include "ui/CandidateWindowLayout.h"
#include "ui/FloatingPanel.h"

namespace yakdrom {

class CandidateWindow final : public FloatingPanel<CandidateWindowView> {
 public:
  CandidateWindow();

  void setActions(CandidateWindowActions actions) override { actions_ = std::move(actions); }
  /// Takes the colours of the application's current appearance.
  void applyTheme() override { takeColours(); }
  void display(const CandidateWindowContent& content) override;
  [[nodiscard]] Size fittingSize() const override;

  /// Returns where the parts are drawn now, for finding them on screen.
  [[nodiscard]] const CandidateWindowLayout& layout() const { return layout_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void paintRow(QPainter& painter, const RowGeometry& row) const;
  void paintText(QPainter& painter, const TextPlacement& text, const QFont& font,
                 const QColor& colour) const;
  void paintMoreButton(QPainter& painter, const QRectF& area) const;

  CandidateWindowActions actions_;
  CandidateWindowFonts fonts_;
  std::optional<std::pair<Font, Font>> fontsFor_;  // the candidate and explanation fonts of fonts_
  ShapedTextCache shapes_;
  CandidateWindowLayout layout_;
  QString pageLabel_;
};

}  // namespace yakdrom
