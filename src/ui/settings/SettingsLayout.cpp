#include "ui/settings/SettingsLayout.h"

#include <QFontDatabase>
#include <QFrame>
#include <QHBoxLayout>

#include "ime/settings/YakdromSettings.h"
#include "ui/LocalizedText.h"
#include "ui/settings/CardView.h"

namespace yakdrom {
namespace {

// A point on screen is a logical pixel; Qt's points are 1/72 inch at the screen's 96 dpi.
constexpr qreal kQtPointsPerScreenPoint = 72.0 / 96.0;
constexpr int kRowSpacing = 10;

}  // namespace

QFont SettingsLayout::font(qreal points, QFont::Weight weight) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setPointSizeF(points * kQtPointsPerScreenPoint);
  font.setWeight(weight);
  return font;
}

QFont SettingsLayout::tibetanFont(qreal points) {
  const QString family = qtString(kBundledFontFamily);
  if (!QFontDatabase::hasFamily(family)) return font(points);
  QFont tibetan(family);
  tibetan.setPointSizeF(points * kQtPointsPerScreenPoint);
  return tibetan;
}

QLabel* SettingsLayout::label(const QString& text, qreal points, QFont::Weight weight, Tone tone) {
  auto* label = new QLabel(text);
  label->setFont(font(points, weight));
  if (tone == Tone::secondary) label->setForegroundRole(QPalette::PlaceholderText);
  return label;
}

QLabel* SettingsLayout::note(const QString& text) {
  QLabel* note = label(text, 11, QFont::Normal, Tone::secondary);
  note->setWordWrap(true);
  return note;
}

QVBoxLayout* SettingsLayout::pageStack(PageView& page) {
  auto* stack = new QVBoxLayout(&page);
  stack->setSpacing(16);
  stack->setContentsMargins(20, 20, 20, 24);
  return stack;
}

QVBoxLayout* SettingsLayout::addCard(QVBoxLayout& stack, int spacing) {
  auto* column = new QVBoxLayout;
  column->setSpacing(spacing);
  stack.addWidget(new CardView(column));
  return column;
}

void SettingsLayout::addRow(QVBoxLayout& card, const QString& label, QWidget* control) {
  auto* row = new QHBoxLayout;
  row->setSpacing(kRowSpacing);
  QLabel* name = SettingsLayout::label(label, 12);
  name->setBuddy(control);
  control->setAccessibleName(label);
  row->addWidget(name, 0, Qt::AlignVCenter);
  row->addStretch(1);
  row->addWidget(control, 0, Qt::AlignVCenter);
  card.addLayout(row);
}

void SettingsLayout::addInfoRow(QVBoxLayout& card, const QString& label, QLabel* value) {
  auto* row = new QHBoxLayout;
  row->setSpacing(kRowSpacing);
  QLabel* name = SettingsLayout::label(label, 12, QFont::Normal, Tone::secondary);
  value->setAccessibleName(label);
  value->setTextInteractionFlags(Qt::TextSelectableByMouse);
  row->addWidget(name, 0, Qt::AlignVCenter);
  row->addStretch(1);
  row->addWidget(value, 0, Qt::AlignVCenter);
  card.addLayout(row);
}

void SettingsLayout::addSeparator(QVBoxLayout& card) {
  auto* line = new QFrame;
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Plain);
  line->setForegroundRole(QPalette::Mid);
  card.addWidget(line);
}

void SettingsLayout::endPage(QVBoxLayout& stack) { stack.addStretch(1); }

}  // namespace yakdrom
