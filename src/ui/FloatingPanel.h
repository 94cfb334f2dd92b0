// What the candidate window and the explanation box share as Qt windows: a frameless tool
// window above every other that never takes keyboard focus, its rounded background in the
// panel colours, its frame in the model's coordinates, and a fresh set of colours whenever
// the application's palette or style changes, without reopening. Main thread.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QWidget>

#include "ime/platform/Geometry.h"
#include "ui/ApplicationAppearance.h"
#include "ui/PanelColours.h"

namespace yakdrom {

namespace floating {

/// Sets the window flags and attributes of a floating panel on `widget`.
void configure(QWidget& widget);
/// Returns `widget`'s frame in the model's coordinates.
[[nodiscard]] Rect frameOf(const QWidget& widget);
/// Moves `widget` so its bottom-left corner is at the model point `origin`.
void moveOrigin(QWidget& widget, Point origin);
/// Resizes `widget` to `size`, keeping its bottom-left corner where it is.
void resizeKeepingOrigin(QWidget& widget, Size size);
/// Cuts `widget` to its rounded shape where that is needed: on X11 without a compositor
/// what a window leaves unpainted shows black. Wayland always composites.
void cutCorners(QWidget& widget);
/// Fills `widget` with the rounded background in `colours`.
void paintBackground(const QWidget& widget, QPainter& painter, const PanelColours& colours);

}  // namespace floating

template <class View>
class FloatingPanel : public QWidget, public View {
 public:
  void setContentSize(Size size) override { floating::resizeKeepingOrigin(*this, size); }
  void setFrameOrigin(Point origin) override { floating::moveOrigin(*this, origin); }
  [[nodiscard]] Rect frame() const override { return floating::frameOf(*this); }
  [[nodiscard]] bool isVisible() const override { return QWidget::isVisible(); }
  /// Shows the window; staying on top, it needs no raising.
  void orderFront() override { show(); }
  void orderOut() override { hide(); }

  /// Returns the colours the window paints with now.
  [[nodiscard]] const PanelColours& colours() const { return colours_; }

 protected:
  FloatingPanel() { floating::configure(*this); }

  /// Takes the colours for the application's current appearance and repaints.
  void takeColours() {
    colours_ = PanelColours::forPalette(QApplication::palette());
    coloursTaken();
    update();
  }

  /// Passes fresh colours on to child widgets, for windows that have them.
  virtual void coloursTaken() {}

  void changeEvent(QEvent* event) override {
    if (ApplicationAppearance::changesTheme(*event)) takeColours();
    QWidget::changeEvent(event);
  }

  void resizeEvent(QResizeEvent* event) override {
    floating::cutCorners(*this);
    QWidget::resizeEvent(event);
  }

  void paintBackground(QPainter& painter) { floating::paintBackground(*this, painter, colours_); }

 private:
  PanelColours colours_ = PanelColours::forPalette(QApplication::palette());
};

}  // namespace yakdrom
