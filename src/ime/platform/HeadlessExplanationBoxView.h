// The explanation box of programs without a display: it keeps the text it was given and
// estimates the wrapped height from the text's width. Main thread.
#pragma once

#include <string>

#include "ime/platform/ExplanationBoxView.h"
#include "ime/platform/HeadlessWindow.h"
#include "ime/platform/TextMeasurer.h"

namespace yakdrom {

class HeadlessExplanationBoxView final : public HeadlessWindow<ExplanationBoxView> {
 public:
  /// Measures with `measurer`, which must outlive the view.
  explicit HeadlessExplanationBoxView(const TextMeasurer& measurer);

  /// Keeps the text and the font.
  void setText(std::string_view text, const Font& font) override;
  /// Keeps the wrapping width.
  void setTextWidth(double width) override { textWidth_ = width; }
  /// Returns the number of lines the text wraps into times the line height.
  [[nodiscard]] double fittingTextHeight() const override;

  /// Returns the text last shown.
  [[nodiscard]] const std::string& text() const { return text_; }

 private:
  const TextMeasurer& measurer_;
  std::string text_;
  Font font_;
  double textWidth_ = 0;
};

}  // namespace yakdrom
