#include "ui/ExplanationBoxWindow.h"

#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>

#include "ui/QtFont.h"

namespace yakdrom {
namespace {

constexpr int kInsetVertical = 10;
constexpr int kInsetHorizontal = 12;
constexpr QSize kInitialSize(360, 160);
// Tibetan fonts make every line tall enough for the deepest stack under the tallest vowel;
// running text needs about two thirds of that.
constexpr double kLineHeightPercent = 70;

}  // namespace

ExplanationBoxWindow::ExplanationBoxWindow() : view_(new QTextEdit(this)) {
  view_->setReadOnly(true);
  view_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  view_->setFrameShape(QFrame::NoFrame);
  view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  view_->setLineWrapMode(QTextEdit::WidgetWidth);
  view_->setFocusPolicy(Qt::NoFocus);
  view_->viewport()->setAutoFillBackground(false);
  view_->document()->setDocumentMargin(0);
  resize(kInitialSize);
  coloursTaken();
}

void ExplanationBoxWindow::setText(std::string_view text, const Font& font) {
  view_->document()->setDefaultFont(toQFont(font));
  view_->setPlainText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  QTextCursor all(view_->document());
  all.select(QTextCursor::Document);
  QTextBlockFormat lines;
  lines.setLineHeight(kLineHeightPercent, QTextBlockFormat::ProportionalHeight);
  all.mergeBlockFormat(lines);
}

void ExplanationBoxWindow::setTextWidth(double width) { textWidth_ = width; }

// Laid out on a copy, so that measuring never disturbs the text on screen.
double ExplanationBoxWindow::fittingTextHeight() const {
  const std::unique_ptr<QTextDocument> copy(view_->document()->clone());
  copy->setTextWidth(textWidth_);
  return copy->size().height();
}

void ExplanationBoxWindow::coloursTaken() {
  QPalette palette = view_->palette();
  palette.setColor(QPalette::Text, colours().candidateText);
  palette.setColor(QPalette::Base, Qt::transparent);
  view_->setPalette(palette);
}

void ExplanationBoxWindow::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  paintBackground(painter);
}

void ExplanationBoxWindow::resizeEvent(QResizeEvent* event) {
  view_->setGeometry(
      rect().adjusted(kInsetHorizontal, kInsetVertical, -kInsetHorizontal, -kInsetVertical));
  FloatingPanel::resizeEvent(event);
}

}  // namespace yakdrom
