// A pair of small arrow buttons that step a whole number up and down within a range, kept
// beside a text field that shows the number. Main thread.
#pragma once

#include <QToolButton>
#include <QWidget>
#include <functional>

namespace yakdrom {

class Stepper final : public QWidget {
 public:
  /// Steps by 1 between `minimum` and `maximum`, starting at `value`.
  Stepper(int minimum, int maximum, int value, QWidget* parent = nullptr);

  [[nodiscard]] int value() const { return value_; }
  /// Sets the value, kept within the range, without telling the listener.
  void setValue(int value);
  /// Calls `listener` with the new value after each step the user takes.
  void onStep(std::function<void(int)> listener) { listener_ = std::move(listener); }
  /// Steps once by `delta`, as a press of an arrow does.
  void step(int delta);

  [[nodiscard]] QToolButton& upButton() const { return *up_; }
  [[nodiscard]] QToolButton& downButton() const { return *down_; }

 private:
  const int minimum_;
  const int maximum_;
  int value_;
  std::function<void(int)> listener_;
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace yakdrom
