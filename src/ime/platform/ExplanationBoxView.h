// The floating window that shows a candidate's full explanation, wrapped and scrollable.
// Its placement is decided by ExplanationBox. Main thread.
#pragma once

#include <string_view>

#include "ime/platform/FloatingWindow.h"
#include "ime/platform/Font.h"

namespace yakdrom {

class ExplanationBoxView : public FloatingWindow {
 public:
  /// Shows `text` in `font` in the box's text label.
  virtual void setText(std::string_view text, const Font& font) = 0;

  /// Sets the width at which the text label wraps.
  virtual void setTextWidth(double width) = 0;

  /// Returns the height the wrapped text needs at the current text width.
  [[nodiscard]] virtual double fittingTextHeight() const = 0;
};

}  // namespace yakdrom
