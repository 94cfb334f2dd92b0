// A one-line text field of the settings window: on the control colour with white text in
// the dark style, without a background of its own in the light one. Main thread.
#pragma once

#include <QLineEdit>

#include "ui/settings/Themed.h"

namespace yakdrom {

class ThemedTextField final : public Themed<QLineEdit> {
 public:
  explicit ThemedTextField(const QString& text, QWidget* parent = nullptr);

 protected:
  void applyStyle(bool dark) override;
};

}  // namespace yakdrom
