#include "ui/ExplanationBoxWindow.h"

#include <QPainter>
#include <QScrollBar>
#include <cmath>

#include "ui/QtFont.h"

namespace yakdrom {
namespace {

constexpr int kInsetVertical = 10;
constexpr int kInsetHorizontal = 12;
// The label leaves this much of the scroll area's width free, so wrapped lines never touch
// the scroller.
constexpr int kLabelMargin = 4;
constexpr QSize kInitialSize(360, 160);

}  // namespace

ExplanationBoxWindow::ExplanationBoxWindow()
    : scroll_(new QScrollArea(this)), label_(new QLabel(scroll_)) {
  label_->setWordWrap(true);
  label_->setTextFormat(Qt::PlainText);
  label_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  scroll_->setWidget(label_);
  scroll_->setWidgetResizable(false);
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  scroll_->setAutoFillBackground(false);
  scroll_->viewport()->setAutoFillBackground(false);
  label_->setAutoFillBackground(false);
  resize(kInitialSize);
  coloursTaken();
}

void ExplanationBoxWindow::setText(std::string_view text, const Font& font) {
  label_->setFont(toQFont(font));
  label_->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

// The box gives the scroll area the text width, and the label wraps a little inside it.
void ExplanationBoxWindow::setTextWidth(double width) {
  textWidth_ = std::max(0, static_cast<int>(std::floor(width)) - kLabelMargin);
  label_->resize(textWidth_, label_->heightForWidth(textWidth_));
}

double ExplanationBoxWindow::fittingTextHeight() const {
  return std::max(0, label_->heightForWidth(textWidth_));
}

void ExplanationBoxWindow::coloursTaken() {
  QPalette palette = label_->palette();
  palette.setColor(QPalette::WindowText, colours().candidateText);
  palette.setColor(QPalette::Text, colours().candidateText);
  label_->setPalette(palette);
}

void ExplanationBoxWindow::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  paintBackground(painter);
}

// The text wraps at the scroll area's width, which shrinks when the scroller appears.
void ExplanationBoxWindow::resizeEvent(QResizeEvent* event) {
  scroll_->setGeometry(
      rect().adjusted(kInsetHorizontal, kInsetVertical, -kInsetHorizontal, -kInsetVertical));
  const int width = std::max(0, scroll_->viewport()->width() - kLabelMargin);
  label_->resize(width, label_->heightForWidth(width));
  QWidget::resizeEvent(event);
}

}  // namespace yakdrom
