#include "ui/CandidateWindow.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>

namespace yakdrom {
namespace {

constexpr double kRowCornerRadius = 6;
constexpr double kPageLabelRight = 8;
constexpr double kPageLabelBottom = 3;
// The window the panel is created with, before its first content.
constexpr QSize kInitialSize(200, 40);
const QString kMore = QStringLiteral("…");
// Widths a text is given are sums of measured widths, which may round a hair below them.
constexpr double kFitTolerance = 0.01;

}  // namespace

CandidateWindow::CandidateWindow() { resize(kInitialSize); }

void CandidateWindow::display(const CandidateWindowContent& content) {
  // The fonts change only with the settings; most keys keep them.
  if (!fontsFor_ || fontsFor_->first != content.font ||
      fontsFor_->second != content.explanationFont) {
    fonts_ = CandidateWindowFonts::forContent(content);
    fontsFor_.emplace(content.font, content.explanationFont);
  }
  layout_.measure(content, fonts_, shapes_);
  layout_.arrange(width());
  pageLabel_ = QString::fromStdString(content.pageLabel);
  update();
}

Size CandidateWindow::fittingSize() const {
  return {layout_.fitting().width(), layout_.fitting().height()};
}

void CandidateWindow::resizeEvent(QResizeEvent* event) {
  layout_.arrange(width());
  FloatingPanel::resizeEvent(event);
}

void CandidateWindow::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  paintBackground(painter);
  for (const RowGeometry& row : layout_.rows()) paintRow(painter, row);
  if (const auto& line = layout_.explanationLine()) {
    paintText(painter, *line, fonts_.explanation, colours().numberText);
  }
  if (const auto& more = layout_.lineMoreButton()) paintMoreButton(painter, *more);
  if (!pageLabel_.isEmpty()) {
    const QFontMetricsF metrics(fonts_.page);
    painter.setFont(fonts_.page);
    painter.setPen(colours().pageText);
    painter.drawText(QPointF(width() - kPageLabelRight - metrics.horizontalAdvance(pageLabel_),
                             height() - kPageLabelBottom - metrics.descent()),
                     pageLabel_);
  }
}

void CandidateWindow::paintRow(QPainter& painter, const RowGeometry& row) const {
  if (row.isSelected) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(colours().selectedRow);
    painter.drawRoundedRect(row.background, kRowCornerRadius, kRowCornerRadius);
  }
  paintText(painter, row.number, fonts_.number, colours().numberText);
  paintText(painter, row.text, fonts_.candidate, colours().candidateText);
  if (row.explanation) {
    paintText(painter, *row.explanation, fonts_.explanation, colours().numberText);
  }
  if (row.moreButton) paintMoreButton(painter, *row.moreButton);
}

// Text that fits is drawn as it was shaped; only text cut at the tail is shaped again.
void CandidateWindow::paintText(QPainter& painter, const TextPlacement& text, const QFont& font,
                                const QColor& colour) const {
  if (text.width <= 0) return;
  painter.setFont(font);
  painter.setPen(colour);
  if (text.width + kFitTolerance >= text.shaped->advance) {
    painter.drawStaticText(QPointF(text.left, text.baseline - text.shaped->ascent),
                           text.shaped->layout);
    return;
  }
  painter.drawText(
      QPointF(text.left, text.baseline),
      QFontMetricsF(font).elidedText(text.shaped->layout.text(), Qt::ElideRight, text.width));
}

void CandidateWindow::paintMoreButton(QPainter& painter, const QRectF& area) const {
  painter.setFont(fonts_.moreButton);
  painter.setPen(colours().candidateText);
  painter.drawText(area, Qt::AlignCenter, kMore);
}

// A press on "…" asks for the explanation; anywhere else in a row it chooses the row.
void CandidateWindow::mousePressEvent(QMouseEvent* event) {
  const QPointF at = event->position();
  const auto& lineMore = layout_.lineMoreButton();
  // The actions may install others or hide the window: they run from copies, last.
  const auto explain = [this] {
    if (const auto action = actions_.showFullExplanation) action();
  };
  if (lineMore && lineMore->contains(at)) return explain();
  for (const RowGeometry& row : layout_.rows()) {
    if (row.moreButton && row.moreButton->contains(at)) return explain();
    if (row.background.contains(at)) {
      if (const auto action = actions_.rowClicked) action(row.index);
      return;
    }
  }
}

}  // namespace yakdrom
