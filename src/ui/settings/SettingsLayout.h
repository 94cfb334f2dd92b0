// How the pages of the settings window are put together: a page's column of cards, rows of
// a label and its control, separators between rows, and labels in the window's few text
// styles. Main thread.
#pragma once

#include <QFont>
#include <QLabel>
#include <QString>
#include <QVBoxLayout>
#include <QWidget>

#include "ui/settings/PageView.h"

namespace yakdrom {

class SettingsLayout {
 public:
  /// How strongly a label stands out.
  enum class Tone { primary, secondary };

  /// Returns the desktop's font at `points` as a typographic point on screen (1/72 inch at
  /// 96 dpi, so the window keeps its proportions), in `weight`.
  [[nodiscard]] static QFont font(qreal points, QFont::Weight weight = QFont::Normal);

  /// Returns "Yakdrom-SN" at `points`, or the desktop's font when it is not installed: for
  /// Tibetan words, which the desktop's font often draws from a fallback too small to read.
  [[nodiscard]] static QFont tibetanFont(qreal points);

  /// Returns a label of `text` in font(`points`, `weight`) and `tone`.
  [[nodiscard]] static QLabel* label(const QString& text, qreal points,
                                     QFont::Weight weight = QFont::Normal,
                                     Tone tone = Tone::primary);

  /// Returns a wrapping label for notes under a card's rows.
  [[nodiscard]] static QLabel* note(const QString& text);

  /// Gives `page` its column, to which cards and labels are added from the top.
  [[nodiscard]] static QVBoxLayout* pageStack(PageView& page);

  /// Adds a card with `spacing` between its rows to `stack` and returns its column.
  [[nodiscard]] static QVBoxLayout* addCard(QVBoxLayout& stack, int spacing);

  /// Adds `label` at the left and `control` at the right of a new row of `card`; the label
  /// names the control for assistive technology and for its keyboard mnemonic.
  static void addRow(QVBoxLayout& card, const QString& label, QWidget* control);

  /// Adds a row of a quiet `label` and the `value` it explains to `card`.
  static void addInfoRow(QVBoxLayout& card, const QString& label, QLabel* value);

  /// Adds a thin line across `card`.
  static void addSeparator(QVBoxLayout& card);

  /// Ends `stack`, keeping everything above at its natural height.
  static void endPage(QVBoxLayout& stack);
};

}  // namespace yakdrom
