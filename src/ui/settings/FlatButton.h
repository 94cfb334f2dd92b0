// A push button of the settings window, whose bezel darkens with the dark style and whose
// title may carry a tint (red for the buttons that delete or reset). Main thread.
#pragma once

#include <QColor>
#include <QPushButton>
#include <optional>

#include "ui/settings/Themed.h"

namespace yakdrom {

class FlatButton final : public Themed<QPushButton> {
 public:
  explicit FlatButton(const QString& title, QWidget* parent = nullptr);

  /// Draws the title in `tint` from now on, in either style.
  void setTint(const QColor& tint);

 protected:
  void applyStyle(bool dark) override;

 private:
  std::optional<QColor> tint_;
};

}  // namespace yakdrom
