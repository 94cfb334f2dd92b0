#include "ui/DesktopProgram.h"

#include <QApplication>
#include <memory>

#include "ui/ApplicationIcon.h"
#include "ui/QSettingsPreferenceStore.h"

namespace yakdrom {

void DesktopProgram::prepare(const char* name) {
  QApplication::setApplicationName(QString::fromUtf8(name));
  QApplication::setApplicationDisplayName(QStringLiteral("Yakdrom"));
  QApplication::setWindowIcon(ApplicationIcon::icon());
  (void)PreferenceStore::installShared(std::make_shared<QSettingsPreferenceStore>());
}

}  // namespace yakdrom
