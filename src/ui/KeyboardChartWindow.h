// The keyboard charts in a window of their own, drawn from the same SVG picture that
// `yakdrom layout --svg` writes and scaled to the window, keeping its proportions. Main
// thread.
#pragma once

#include <QSvgRenderer>
#include <QWidget>

#include "ime/settings/InterfaceLanguage.h"

namespace yakdrom {

class KeyboardChartWindow final : public QWidget {
 public:
  explicit KeyboardChartWindow(InterfaceLanguage language, QWidget* parent = nullptr);

  /// Returns the picture's size at scale 1.
  [[nodiscard]] QSize pictureSize() const { return renderer_.defaultSize(); }
  /// Returns where the picture is drawn in a window of the current size.
  [[nodiscard]] QRectF pictureRect() const;
  [[nodiscard]] bool isValid() const { return renderer_.isValid(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QSvgRenderer renderer_;
};

}  // namespace yakdrom
