// Measures text the way the windows will draw it, so the panel can decide what fits (the
// "…" buttons) without drawing. Main thread.
#pragma once

#include <string_view>

#include "ime/platform/Font.h"

namespace yakdrom {

class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;

  /// Returns the width of `text` laid out on one line, without wrapping, in `font`.
  [[nodiscard]] virtual double singleLineWidth(std::string_view text, const Font& font) const = 0;
};

}  // namespace yakdrom
