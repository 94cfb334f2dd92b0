// The program's icon, drawn rather than shipped as a picture: the letter ཡ in the program's
// own font on a rounded maroon square, sharp at any size. Main thread.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace yakdrom {

class ApplicationIcon {
 public:
  /// Returns the icon `size` logical pixels square, for a screen of `ratio` device pixels
  /// per logical pixel.
  [[nodiscard]] static QPixmap pixmap(int size, qreal ratio = 1.0);

  /// Returns the icon at the sizes windows and task bars ask for.
  [[nodiscard]] static QIcon icon();
};

}  // namespace yakdrom
