// The background of a settings page: near-black in the dark style, white in the light one.
// Main thread.
#pragma once

#include <QWidget>

#include "ui/settings/Themed.h"

namespace yakdrom {

class PageView : public Themed<QWidget> {
 public:
  explicit PageView(QWidget* parent = nullptr);

  /// Returns the colour the page is filled with now.
  [[nodiscard]] QColor background() const;

 protected:
  void applyStyle(bool dark) override;
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace yakdrom
