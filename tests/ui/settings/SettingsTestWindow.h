// A settings window over stores of its own, for the tests and the screenshots: settings and
// statistics in memory, a user dictionary in a temporary folder, languages the test sets,
// file dialogs that answer from a queue and remember what they were asked to show or open,
// an update check of the test's choosing and a log that keeps its lines.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QUrl>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "engine/learning/InputStatistics.h"
#include "engine/learning/TemporaryFolder.h"
#include "engine/learning/UserDictionary.h"
#include "engine/store/InMemoryPreferenceStore.h"
#include "ime/fakes/FakePlatform.h"
#include "ui/QtFontSystem.h"
#include "ui/UpdateChecker.h"
#include "ui/settings/SettingsWindowController.h"

namespace yakdrom::testing {

class ScriptedDesktopFiles final : public DesktopFiles {
 public:
  std::optional<std::filesystem::path> chooseWordList(QWidget&, const QString& message) override {
    asked.push_back(message);
    return next();
  }
  std::optional<std::filesystem::path> chooseExportFile(QWidget&, const QString& message,
                                                        const QString& name) override {
    asked.push_back(message);
    proposedNames.push_back(name);
    return next();
  }
  void reveal(const std::filesystem::path& file) override { revealed.push_back(file); }
  void openUrl(const QUrl& url) override { opened.push_back(url); }

  /// The answers of the next dialogs, in order; nothing stands for a cancelled dialog.
  std::deque<std::optional<std::filesystem::path>> answers;
  std::vector<QString> asked;
  std::vector<QString> proposedNames;
  std::vector<std::filesystem::path> revealed;
  std::vector<QUrl> opened;

 private:
  std::optional<std::filesystem::path> next() {
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

/// Returns the widgets of type `T` inside `parent`, in creation order. Our widget classes
/// declare no meta-object, so findChildren<T>() would take every widget of their Qt base.
template <class T>
[[nodiscard]] std::vector<T*> widgetsOf(const QWidget& parent) {
  std::vector<T*> found;
  for (QWidget* child : parent.findChildren<QWidget*>()) {
    if (auto* widget = dynamic_cast<T*>(child)) found.push_back(widget);
  }
  return found;
}

/// Returns places under `folder` for the window's uninstaller, with no tool to run: a test
/// window never reaches the machine's own install.
inline UninstallPlaces uninstallPlaces(const std::filesystem::path& folder) {
  UninstallPlaces places;
  places.home = folder / "home";
  places.systemRoot = folder / "root";
  places.cacheHome = folder / "home/.cache";
  places.pkexec = places.ibus = places.dpkgQuery = places.dpkg = "/bin/false";
  return places;
}

struct SettingsTestWindow {
  explicit SettingsTestWindow(std::vector<std::string> languageList = {"en-US"})
      : userDictionary(folder / "user-dictionary.txt") {
    languages.list = std::move(languageList);
    rebuild();
  }

  /// Makes a new window over the same stores, as a program started now would.
  void rebuild() {
    controller = std::make_unique<SettingsWindowController>(
        SettingsServices{*preferences, userDictionary, statistics, fonts, resources, languages,
                         files, *updates, log, uninstaller, [this] { ++programEnds; }});
  }

  /// Makes a new window whose update check reads `config.feed`.
  void checkUpdatesWith(UpdateChecker::Config config) {
    controller.reset();
    updates = std::make_unique<UpdateChecker>(std::move(config));
    rebuild();
  }

  /// Returns the notices open on the window, oldest first.
  [[nodiscard]] std::vector<QMessageBox*> notices() const {
    std::vector<QMessageBox*> open;
    for (QMessageBox* box : controller->window().findChildren<QMessageBox*>()) {
      if (box->isVisible()) open.push_back(box);
    }
    return open;
  }

  TemporaryFolder folder;
  std::shared_ptr<InMemoryPreferenceStore> preferences =
      std::make_shared<InMemoryPreferenceStore>();
  InputStatistics statistics{preferences};
  UserDictionary userDictionary;
  QtFontSystem fonts;
  FakeResourceLocator resources;
  FakePreferredLanguages languages;
  ScriptedDesktopFiles files;
  // No feed until a test names one, so no window of the tests ever reaches the network.
  std::unique_ptr<UpdateChecker> updates = std::make_unique<UpdateChecker>(UpdateChecker::Config{});
  RecordingLog log;
  Uninstaller uninstaller{uninstallPlaces(folder.path()), log};
  int programEnds = 0;
  std::unique_ptr<SettingsWindowController> controller;
};

}  // namespace yakdrom::testing
