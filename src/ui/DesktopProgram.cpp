#include "ui/DesktopProgram.h"

#include <QApplication>
#include <memory>

#include "YakdromVersion.h"
#include "ui/ApplicationIcon.h"
#include "ui/QSettingsPreferenceStore.h"

namespace yakdrom {

std::optional<int> DesktopProgram::answer(int argc, const char* const* argv, std::string_view name,
                                          std::string_view help, std::ostream& out) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--help" || argument == "-h") {
      out << help;
      return 0;
    }
    if (argument == "--version") {
      out << name << ' ' << kYakdromVersion << '\n';
      return 0;
    }
  }
  return std::nullopt;
}

void DesktopProgram::prepare(const char* name) {
  QApplication::setApplicationName(QString::fromUtf8(name));
  QApplication::setApplicationDisplayName(QStringLiteral("Yakdrom"));
  QApplication::setWindowIcon(ApplicationIcon::icon());
  (void)PreferenceStore::installShared(std::make_shared<QSettingsPreferenceStore>());
}

}  // namespace yakdrom
