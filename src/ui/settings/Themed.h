// What every themed control of the settings window shares: it takes a dark or a light
// style from the application's appearance, and takes it again whenever the palette or the
// style changes, so a theme switch repaints an open window at once. Main thread.
#pragma once

#include <QColor>
#include <QEvent>
#include <QPalette>
#include <QWidget>

#include "ui/ApplicationAppearance.h"

namespace yakdrom {

namespace themed {

/// The bezel of buttons and pop-ups, and the background of text fields, in the dark style.
inline const QColor kDarkControl{65, 63, 64};

/// Fills `widget` with `colour` in a rectangle whose corners are rounded by `radius`.
void paintRounded(QWidget& widget, const QColor& colour, qreal radius);

/// Returns the palette of a button or pop-up: the control colour in the dark style, nothing
/// of its own (the application's palette) in the light one.
[[nodiscard]] QPalette buttonPalette(bool dark);

}  // namespace themed

template <class Base>
class Themed : public Base {
 public:
  using Base::Base;

  /// Returns true when the control wears its dark style.
  [[nodiscard]] bool isDarkStyle() const { return dark_; }

 protected:
  /// Applies the style for `dark`.
  virtual void applyStyle(bool dark) = 0;

  /// Applies the style of the application's appearance, unless it is applied already; its
  /// own palette changes therefore end here rather than loop.
  void restyle() {
    const bool dark = ApplicationAppearance::isDark();
    if (styled_ && dark == dark_) return;
    styled_ = true;
    dark_ = dark;
    applyStyle(dark);
  }

  void changeEvent(QEvent* event) override {
    Base::changeEvent(event);
    if (ApplicationAppearance::changesTheme(*event)) restyle();
  }

 private:
  bool styled_ = false;
  bool dark_ = false;
};

}  // namespace yakdrom
