#include "ui/PanelColours.h"

#include "ui/ApplicationAppearance.h"

namespace yakdrom {
namespace {

QColor white(double level) { return QColor::fromRgbF(level, level, level); }

const PanelColours& dark() {
  static const PanelColours colours{white(0.92), white(0.55), white(0.6), QColor(43, 40, 42),
                                    QColor(65, 63, 64)};
  return colours;
}

const PanelColours& light() {
  static const PanelColours colours{QColor::fromRgbF(0.13, 0.13, 0.14), white(0.45), white(0.55),
                                    Qt::white, QColor(247, 247, 247)};
  return colours;
}

}  // namespace

PanelColours PanelColours::forPalette(const QPalette& palette) {
  return ApplicationAppearance::isDark(palette) ? dark() : light();
}

}  // namespace yakdrom
