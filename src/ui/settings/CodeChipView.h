// A small rounded chip showing a line of example text, such as a line of a word list, in
// the program's own Tibetan font. Main thread.
#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>

#include "ui/settings/Themed.h"

namespace yakdrom {

class CodeChipView final : public Themed<QWidget> {
 public:
  /// Shows `text` in "Yakdrom-SN" at 13 points, or in the desktop's font at that size when
  /// "Yakdrom-SN" is not installed.
  explicit CodeChipView(const QString& text, QWidget* parent = nullptr);

  [[nodiscard]] const QLabel& label() const { return *label_; }
  /// Returns the colour the chip is filled with now.
  [[nodiscard]] QColor background() const;

 protected:
  void applyStyle(bool dark) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QLabel* label_;
};

}  // namespace yakdrom
