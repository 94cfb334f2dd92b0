#include "ui/QtTextMeasurer.h"

#include "ui/QtFont.h"

namespace yakdrom {

double QtTextMeasurer::singleLineWidth(std::string_view text, const Font& font) const {
  return metrics(font).horizontalAdvance(
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

const QFontMetricsF& QtTextMeasurer::metrics(const Font& font) const {
  auto key = std::make_pair(font.name, font.pointSize);
  auto found = metrics_.find(key);
  if (found == metrics_.end()) found = metrics_.try_emplace(std::move(key), toQFont(font)).first;
  return found->second;
}

}  // namespace yakdrom
