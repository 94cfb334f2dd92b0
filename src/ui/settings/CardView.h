// A rounded card that groups the controls of a settings page around its content layout.
// Main thread.
#pragma once

#include <QLayout>
#include <QWidget>

#include "ui/settings/Themed.h"

namespace yakdrom {

class CardView final : public Themed<QWidget> {
 public:
  /// Lays `content` out inside the card's insets; the card takes it over.
  explicit CardView(QLayout* content, QWidget* parent = nullptr);

  /// Returns the colour the card is filled with now.
  [[nodiscard]] QColor background() const;

 protected:
  void applyStyle(bool dark) override;
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace yakdrom
