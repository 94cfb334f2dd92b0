// An on/off switch: a check box drawn as a sliding knob in a rounded track, coloured from
// the palette so it follows the theme. Space toggles it as it toggles a check box. Main
// thread.
#pragma once

#include <QAbstractButton>

namespace yakdrom {

class SwitchButton final : public QAbstractButton {
 public:
  explicit SwitchButton(QWidget* parent = nullptr);

  [[nodiscard]] QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace yakdrom
