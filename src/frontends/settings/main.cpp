// `yakdrom-settings`: the settings window on its own, for the desktop's menus and for
// input-method frameworks that open settings as a program. It shares the settings file, the
// user dictionary and the statistics with every other Yakdrom program.
#include <QApplication>
#include <iostream>
#include <string_view>

#include "engine/learning/InputStatistics.h"
#include "engine/learning/UserDictionary.h"
#include "ime/platform/BundleResourceLocator.h"
#include "ime/platform/SystemLog.h"
#include "ime/startup/ApplicationBundle.h"
#include "ime/startup/CustomFont.h"
#include "ime/startup/InputMethodStartup.h"
#include "ui/ApplicationAppearance.h"
#include "ui/DesktopProgram.h"
#include "ui/QtFontSystem.h"
#include "ui/settings/SettingsWindowController.h"

namespace {

constexpr std::string_view kHelp =
    "usage: yakdrom-settings [--help] [--version] [Qt options]\n"
    "\n"
    "The settings window of the Yakdrom Tibetan input method: candidates, explanations,\n"
    "the learnt words and the typing statistics. A change applies from the next key in\n"
    "every running Yakdrom program. See yakdrom-settings(1).\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace yakdrom;
  if (auto status = DesktopProgram::answer(argc, argv, "yakdrom-settings", kHelp, std::cout)) {
    return *status;
  }
  QApplication application(argc, argv);
  DesktopProgram::prepare("yakdrom-settings");

  SystemLog log;
  QtFontSystem fonts;
  registerCustomFont(ApplicationBundle::forRunningExecutable(), fonts, log);
  const BundleResourceLocator resources = BundleResourceLocator::forRunningExecutable();
  const YakdromSettings settings(*PreferenceStore::shared(), fonts, resources);
  ApplicationAppearance::apply(settings.appearancePreference());

  SettingsWindowController::shared().show();
  const int status = QApplication::exec();
  // An edit or import is written when it is made; this only catches what a write left over.
  saveLearntWords(UserDictionary::shared(), log);
  InputStatistics::shared().flush();
  return status;
}
