// The floating box with a candidate's whole explanation: wrapped, selectable text that
// scrolls when it is longer than the box, in the panel colours. Its size and place come
// from ExplanationBox. Main thread.
#pragma once

#include <QTextEdit>

#include "ime/platform/ExplanationBoxView.h"
#include "ui/FloatingPanel.h"

namespace yakdrom {

class ExplanationBoxWindow final : public FloatingPanel<ExplanationBoxView> {
 public:
  ExplanationBoxWindow();

  void setText(std::string_view text, const Font& font) override;
  void setTextWidth(double width) override;
  [[nodiscard]] double fittingTextHeight() const override;

  /// Returns the text shown, as plain text.
  [[nodiscard]] QString text() const { return view_->toPlainText(); }

 protected:
  void coloursTaken() override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QTextEdit* view_;
  double textWidth_ = 0;
};

}  // namespace yakdrom
