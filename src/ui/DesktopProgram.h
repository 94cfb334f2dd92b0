// What every Yakdrom program with windows does first: names itself, takes the program's
// icon and opens the user's settings file as the shared preference store. Main thread.
#pragma once

namespace yakdrom {

class DesktopProgram {
 public:
  /// Names the running application `name` (shown as "Yakdrom"), gives its windows the
  /// program's icon and installs the user's QSettings store as PreferenceStore::shared().
  /// Call once, right after the QApplication is made.
  static void prepare(const char* name);
};

}  // namespace yakdrom
