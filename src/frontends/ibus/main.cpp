// `yakdrom-ibus --ibus`: the Yakdrom input method as an IBus engine, started by ibus-daemon.
// IBus's callbacks and Qt's windows share one event loop: Qt's, which runs on GLib here.
#include <glib-unix.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <array>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string_view>

#include "engine/learning/InputStatistics.h"
#include "engine/learning/UserDictionary.h"
#include "frontends/ibus/EngineEnvironment.h"
#include "frontends/ibus/IBusEngineServer.h"
#include "ime/platform/BundleResourceLocator.h"
#include "ime/platform/LocalePreferredLanguages.h"
#include "ime/platform/PidFile.h"
#include "ime/platform/SystemLog.h"
#include "ime/startup/InputMethodStartup.h"
#include "ui/ApplicationAppearance.h"
#include "ui/DesktopProgram.h"
#include "ui/QtFontSystem.h"
#include "ui/QtScreens.h"
#include "ui/QtTextMeasurer.h"
#include "ui/settings/SharedSettingsWindow.h"

namespace {

constexpr std::string_view kHelp =
    "usage: yakdrom-ibus --ibus | --help | --version\n"
    "\n"
    "The Yakdrom Tibetan input method as an IBus engine. ibus-daemon starts it with --ibus\n"
    "when \"Tibetan (Yakdrom)\" is chosen; it is not meant to be run by hand. See\n"
    "yakdrom-ibus(1).\n";

bool startedByIBus(int argc, char** argv) {
  return argc == 2 && std::string_view(argv[1]) == "--ibus";
}

// Without GLib's dispatcher IBus is never served: the daemon would wait for an engine that
// never answers.
bool runsOnGLib() {
  const QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
  return dispatcher != nullptr && dispatcher->inherits("QEventDispatcherGlib");
}

// The user dictionary is written on the way out, whichever way out it is.
void quitOnSignals() {
  for (const int signal : std::array{SIGTERM, SIGINT, SIGHUP}) {
    g_unix_signal_add(
        signal,
        [](gpointer) -> gboolean {
          QCoreApplication::quit();
          return G_SOURCE_CONTINUE;
        },
        nullptr);
  }
}

}  // namespace

int main(int argc, char** argv) {
  using namespace yakdrom;
  if (auto status = DesktopProgram::answer(argc, argv, "yakdrom-ibus", kHelp, std::cout)) {
    return *status;
  }
  if (!startedByIBus(argc, argv)) {
    std::cerr << kHelp;
    return 2;
  }
  const EngineEnvironment environment = EngineEnvironment::process();
  for (const auto& [name, value] : environment.qtVariables()) {
    ::setenv(name.c_str(), value.c_str(), 1);
  }
  QApplication application(argc, argv);
  // The settings window may be the only window, and closing it must not end the engine.
  QApplication::setQuitOnLastWindowClosed(false);
  DesktopProgram::prepare("yakdrom-ibus");

  SystemLog log;
  if (!runsOnGLib()) {
    log.write("致命错误 — Qt 未使用 GLib 事件循环（QT_NO_GLIB？），IBus 无法送达按键。");
    return kServerFailureStatus;
  }
  QtFontSystem fonts;
  const BundleResourceLocator resources = BundleResourceLocator::forRunningExecutable();
  const ApplicationBundle bundle = ApplicationBundle::forRunningExecutable();
  const YakdromSettings settings(*PreferenceStore::shared(), fonts, resources);
  const QtScreens screens;
  const QtTextMeasurer measurer;
  const LocalePreferredLanguages languages;
  SharedSettingsWindow settingsWindow;
  DictionaryStore& lexicon = DictionaryStore::shared();
  UserDictionary& userDictionary = UserDictionary::shared();
  const IBusEngineServices services{{settings, screens, log, languages, settingsWindow, lexicon,
                                     userDictionary, InputStatistics::shared()},
                                    measurer,
                                    environment.isWaylandSession()};
  IBusEngineServer server(services, &QCoreApplication::quit);
  // Written once the engine serves, removed on the way out: an uninstall ends this process
  // by it.
  std::optional<PidFile> pidFile;

  const StartupHooks hooks{
      .createServer =
          [&server, &log, &pidFile](std::string_view,
                                    const std::optional<std::string>& identifier) {
            if (server.start(identifier.value_or(std::string(kYakdromBundleIdentifier)))) {
              if (const auto path = PidFile::engineFromEnvironment()) pidFile.emplace(*path);
              return true;
            }
            log.write("IBus: " + server.error());
            return false;
          },
      .onTerminate =
          [&application](std::function<void()> action) {
            QObject::connect(&application, &QCoreApplication::aboutToQuit, std::move(action));
          },
      .applyAppearance = &ApplicationAppearance::apply,
      .runEventLoop =
          [] {
            quitOnSignals();
            return QApplication::exec();
          },
  };
  const int status = runInputMethod(hooks, {bundle, fonts, settings, log, lexicon, userDictionary});
  InputStatistics::shared().flush();
  return status;
}
