#include "frontends/cli/UserPreferences.h"

#if YAKDROM_WITH_QT
#include "ui/QSettingsPreferenceStore.h"
#else
#include "engine/store/FilePreferenceStore.h"
#endif

namespace yakdrom::cli {

std::shared_ptr<PreferenceStore> openUserPreferences() {
#if YAKDROM_WITH_QT
  return std::make_shared<QSettingsPreferenceStore>();
#else
  return std::make_shared<FilePreferenceStore>(FilePreferenceStore::userFile());
#endif
}

}  // namespace yakdrom::cli
