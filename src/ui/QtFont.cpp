#include "ui/QtFont.h"

#include <QApplication>

namespace yakdrom {

QFont toQFont(const Font& font) {
  QFont qfont = QApplication::font();
  if (!font.name.empty()) qfont.setFamilies({QString::fromStdString(font.name)});
  if (font.pointSize > 0) qfont.setPointSizeF(font.pointSize);
  return qfont;
}

}  // namespace yakdrom
