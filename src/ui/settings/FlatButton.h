// A push button of the settings window, whose bezel darkens with the dark style and whose
// title turns red on the buttons that delete or reset. Main thread.
#pragma once

#include <QPushButton>

#include "ui/settings/Themed.h"

namespace yakdrom {

class FlatButton final : public Themed<QPushButton> {
 public:
  explicit FlatButton(const QString& title, QWidget* parent = nullptr);

  /// Draws the title in the desktop's red from now on, as the buttons that delete or reset
  /// are drawn.
  void setDestructive();

 protected:
  void applyStyle(bool dark) override;

 private:
  bool destructive_ = false;
};

}  // namespace yakdrom
