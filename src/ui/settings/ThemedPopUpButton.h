// A pop-up of choices in the settings window, styled as the flat buttons are. Main thread.
#pragma once

#include <QComboBox>

#include "ui/settings/Themed.h"

namespace yakdrom {

class ThemedPopUpButton final : public Themed<QComboBox> {
 public:
  explicit ThemedPopUpButton(QWidget* parent = nullptr);

  /// Returns the title of the chosen item, or nothing when none is chosen.
  [[nodiscard]] std::optional<QString> selectedTitle() const;

  /// Chooses the item titled `title`, or none when no item has that title.
  void selectTitle(const QString& title);

 protected:
  void applyStyle(bool dark) override;
};

}  // namespace yakdrom
