// Measures text with Qt's font metrics, the way the windows draw it. Main thread.
#pragma once

#include <QFontMetricsF>
#include <map>
#include <string>
#include <utility>

#include "ime/platform/TextMeasurer.h"

namespace yakdrom {

class QtTextMeasurer final : public TextMeasurer {
 public:
  /// Returns the advance of `text` in `font`, as one line.
  [[nodiscard]] double singleLineWidth(std::string_view text, const Font& font) const override;

 private:
  [[nodiscard]] const QFontMetricsF& metrics(const Font& font) const;

  // The panel measures on every key, mostly in its two fonts, so their metrics are kept.
  mutable std::map<std::pair<std::string, double>, QFontMetricsF> metrics_;
};

}  // namespace yakdrom
