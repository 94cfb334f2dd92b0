// A text measurer for programs without a display: it estimates a width from the number of
// user-perceived characters and the point size. Any thread.
#pragma once

#include "ime/platform/TextMeasurer.h"

namespace yakdrom {

class EstimatingTextMeasurer final : public TextMeasurer {
 public:
  /// Returns 0.6 em per character, a typical advance for Tibetan stacks and Latin text.
  [[nodiscard]] double singleLineWidth(std::string_view text, const Font& font) const override;
};

}  // namespace yakdrom
