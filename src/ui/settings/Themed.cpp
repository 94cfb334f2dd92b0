#include "ui/settings/Themed.h"

namespace yakdrom::themed {

QPalette buttonPalette(bool dark) {
  QPalette palette;
  if (dark) palette.setColor(QPalette::Button, kDarkControl);
  return palette;
}

}  // namespace yakdrom::themed
