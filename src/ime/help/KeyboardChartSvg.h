// The keyboard charts as one SVG picture: what every key types, then what each key gives
// after each dead key, with a legend. Tibetan is set in the program's font "Yakdrom-SN" by
// name (not embedded), falling back to the other Tibetan fonts a system may have. Any
// thread.
#pragma once

#include <string>
#include <vector>

#include "ime/help/KeyboardChart.h"

namespace yakdrom {

class KeyboardChartSvg {
 public:
  /// Returns the SVG document of the chart of keys() and of every afterDeadKey() chart.
  [[nodiscard]] static std::string render();

  /// Returns the SVG document of `charts`, one under the other.
  [[nodiscard]] static std::string render(const std::vector<KeyboardChart>& charts);
};

}  // namespace yakdrom
