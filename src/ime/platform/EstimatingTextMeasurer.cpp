#include "ime/platform/EstimatingTextMeasurer.h"

#include "engine/text/Text.h"

namespace yakdrom {

double EstimatingTextMeasurer::singleLineWidth(std::string_view text, const Font& font) const {
  constexpr double kAdvancePerEm = 0.6;
  return static_cast<double>(text::characterCount(text)) * kAdvancePerEm * font.pointSize;
}

}  // namespace yakdrom
