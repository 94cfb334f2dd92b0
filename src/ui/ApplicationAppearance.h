// The look of the whole application as the appearance setting chooses it: the Fusion style
// with a light, a dark or the desktop's own palette. Main thread.
#pragma once

#include <QEvent>
#include <QPalette>

#include "ime/settings/SettingChoices.h"

namespace yakdrom {

class ApplicationAppearance {
 public:
  /// Gives the running application the Fusion style and the palette `preference` names.
  /// Open windows take the new colours without being reopened: Qt tells each window from
  /// the event loop, and each widget whose colours change gets PaletteChange (StyleChange
  /// arrives at once when the style itself changed).
  static void apply(AppearancePreference preference);

  /// Returns true when `palette` draws light text on a dark window.
  [[nodiscard]] static bool isDark(const QPalette& palette);

  /// Returns true when the application is drawn dark now.
  [[nodiscard]] static bool isDark();

  /// Returns true for the events after which a widget takes its colours afresh.
  [[nodiscard]] static bool changesTheme(const QEvent& event);
};

}  // namespace yakdrom
