#include "ui/settings/Stepper.h"

#include <QVBoxLayout>
#include <algorithm>

namespace yakdrom {
namespace {

QToolButton* arrowButton(Qt::ArrowType arrow, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  button->setFixedSize(18, 12);
  return button;
}

}  // namespace

Stepper::Stepper(int minimum, int maximum, int value, QWidget* parent)
    : QWidget(parent),
      minimum_(minimum),
      maximum_(maximum),
      value_(std::clamp(value, minimum, maximum)),
      up_(arrowButton(Qt::UpArrow, this)),
      down_(arrowButton(Qt::DownArrow, this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(up_);
  layout->addWidget(down_);
  connect(up_, &QToolButton::clicked, this, [this] { step(1); });
  connect(down_, &QToolButton::clicked, this, [this] { step(-1); });
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void Stepper::setValue(int value) { value_ = std::clamp(value, minimum_, maximum_); }

void Stepper::step(int delta) {
  const int next = std::clamp(value_ + delta, minimum_, maximum_);
  if (next == value_) return;
  value_ = next;
  if (listener_) listener_(value_);
}

}  // namespace yakdrom
