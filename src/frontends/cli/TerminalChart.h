// A keyboard chart for the terminal: each key in 7 columns, two lines high, the rows offset
// as on a keyboard, so the widest row fits 100 columns. Sign classes are coloured when the
// output is a terminal that wants colour.
#pragma once

#include <string>

#include "ime/help/KeyboardChart.h"

namespace yakdrom::cli {

class TerminalChart {
 public:
  /// The widest line render() writes, in columns.
  static constexpr std::size_t kMaxWidth = 100;

  /// Returns `chart` as lines of text, with ANSI colours when `colour` is set.
  [[nodiscard]] static std::string render(const KeyboardChart& chart, bool colour);

  /// Returns the lines that explain every chart's cells and colours.
  [[nodiscard]] static std::string legend(bool colour);
};

}  // namespace yakdrom::cli
