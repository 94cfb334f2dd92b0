// The colours of the candidate window and the explanation box, one set for a light and one
// for a dark appearance, chosen by the application's palette at the moment they are asked
// for (so a forced appearance counts). Main thread.
#pragma once

#include <QColor>
#include <QPalette>

namespace yakdrom {

struct PanelColours {
  QColor candidateText;
  /// Numbers and explanations.
  QColor numberText;
  QColor pageText;
  QColor background;
  QColor selectedRow;

  /// Returns the set for `palette`: the dark one when its window colour is dark.
  [[nodiscard]] static PanelColours forPalette(const QPalette& palette);
};

}  // namespace yakdrom
