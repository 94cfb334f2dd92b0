// `yakdrom-pad`: a window to type Tibetan in on any desktop, with the input method inside
// the program, so it needs no input-method framework. It uses the user's own settings,
// statistics and user dictionary, as the input method does.
#include <QApplication>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string_view>

#include "engine/learning/InputStatistics.h"
#include "engine/learning/UserDictionary.h"
#include "frontends/pad/PadWindow.h"
#include "ime/platform/BundleResourceLocator.h"
#include "ime/platform/LocalePreferredLanguages.h"
#include "ime/platform/SystemLog.h"
#include "ime/startup/InputMethodStartup.h"
#include "ui/ApplicationAppearance.h"
#include "ui/DesktopProgram.h"
#include "ui/QtFontSystem.h"
#include "ui/settings/SharedSettingsWindow.h"

namespace {

constexpr std::string_view kHelp =
    "usage: yakdrom-pad [--help] [--version] [Qt options]\n"
    "\n"
    "A window to type Tibetan in, with the Yakdrom input method inside the program, so no\n"
    "input-method framework is needed. It uses your own settings, statistics and user\n"
    "dictionary. Help > Keyboard Chart (F1) shows what each key types. See yakdrom-pad(1).\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace yakdrom;
  if (auto status = DesktopProgram::answer(argc, argv, "yakdrom-pad", kHelp, std::cout)) {
    return *status;
  }
  // The pad is its own input method: a framework's module would take its keys first.
  ::setenv("QT_IM_MODULE", "none", 1);
  QApplication application(argc, argv);
  DesktopProgram::prepare("yakdrom-pad");

  SystemLog log;
  QtFontSystem fonts;
  const BundleResourceLocator resources = BundleResourceLocator::forRunningExecutable();
  const ApplicationBundle bundle = ApplicationBundle::forRunningExecutable();
  PreferenceStore& preferences = *PreferenceStore::shared();
  const YakdromSettings settings(preferences, fonts, resources);
  DictionaryStore& lexicon = DictionaryStore::shared();
  UserDictionary& userDictionary = UserDictionary::shared();
  SharedSettingsWindow settingsWindow;
  std::unique_ptr<PadWindow> window;

  const StartupHooks hooks{
      // The pad's controller lives in this process: there is no server to create.
      .createServer = [](std::string_view, const std::optional<std::string>&) { return true; },
      .onTerminate =
          [&application](std::function<void()> action) {
            QObject::connect(&application, &QCoreApplication::aboutToQuit, std::move(action));
          },
      .applyAppearance = &ApplicationAppearance::apply,
      .runEventLoop =
          [&] {
            window = std::make_unique<PadWindow>(
                PadServices{preferences, userDictionary, InputStatistics::shared(), lexicon, fonts,
                            resources, log, settingsWindow},
                interfaceLanguage(LocalePreferredLanguages()));
            window->show();
            return QApplication::exec();
          },
  };
  return runInputMethod(hooks, {bundle, fonts, settings, log, lexicon, userDictionary});
}
