// What every Yakdrom program with windows does first: names itself, takes the program's
// icon and opens the user's settings file as the shared preference store. Main thread.
#pragma once

#include <optional>
#include <ostream>
#include <string_view>

namespace yakdrom {

class DesktopProgram {
 public:
  /// Answers --help (or -h) with `help` and --version with the program's `name` and version,
  /// on `out`, and returns the exit status; returns nothing for any other arguments, which
  /// are Qt's to read.
  [[nodiscard]] static std::optional<int> answer(int argc, const char* const* argv,
                                                 std::string_view name, std::string_view help,
                                                 std::ostream& out);

  /// Names the running application `name` (shown as "Yakdrom"), gives its windows the
  /// program's icon and installs the user's QSettings store as PreferenceStore::shared().
  /// Call once, right after the QApplication is made.
  static void prepare(const char* name);
};

}  // namespace yakdrom
