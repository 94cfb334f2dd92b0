// The one settings window of a program: four tabs (candidates, user dictionary, statistics,
// about) built in the user's language and rebuilt when that language has changed by the
// time the window is shown again, and the notices its pages report results with. Main
// thread.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QTabWidget>
#include <QWidget>
#include <memory>

#include "ime/controller/SettingsWindowOpener.h"
#include "ime/settings/YakdromSettings.h"
#include "ui/settings/AboutPage.h"
#include "ui/settings/CandidatesPage.h"
#include "ui/settings/SettingsPageContext.h"
#include "ui/settings/SettingsServices.h"
#include "ui/settings/StatisticsPage.h"
#include "ui/settings/UserDictionaryPage.h"

namespace yakdrom {

class SettingsWindowController final : public SettingsWindowOpener {
 public:
  /// The width of every page.
  static constexpr int kContentWidth = 480;
  /// The least height of every page, however short the tallest is.
  static constexpr int kMinContentHeight = 520;

  /// Returns the program's settings window, made on first use (hidden) over the program's
  /// shared stores. It lasts as long as the program.
  [[nodiscard]] static SettingsWindowController& shared();

  /// Builds the window, hidden, over `services`.
  explicit SettingsWindowController(SettingsServices services);
  ~SettingsWindowController() override;
  SettingsWindowController(const SettingsWindowController&) = delete;
  SettingsWindowController& operator=(const SettingsWindowController&) = delete;

  /// Rebuilds the window if the user's language has changed, reads the counts afresh and
  /// brings the window to the front.
  void show() override;

  /// Shows `notice` as a message attached to the window, with a button that shows its file
  /// in the file manager when it has one.
  void showNotice(const Notice& notice);

  /// Shows the number of learnt words afresh.
  void refreshUserDictCount();
  /// Shows the typing figures afresh.
  void refreshStats();

  [[nodiscard]] QWidget& window() const { return *window_; }
  [[nodiscard]] QTabWidget& tabs() const { return *tabs_; }
  [[nodiscard]] CandidatesPage& candidatesPage() const { return *candidatesPage_; }
  [[nodiscard]] UserDictionaryPage& userDictionaryPage() const { return *userDictionaryPage_; }
  [[nodiscard]] StatisticsPage& statisticsPage() const { return *statisticsPage_; }
  [[nodiscard]] AboutPage& aboutPage() const { return *aboutPage_; }
  /// Returns the open editor of the learnt words, if any.
  [[nodiscard]] QDialog* userDictSheet() const { return userDictSheet_; }
  /// Returns the language the window's texts were made in.
  [[nodiscard]] InterfaceLanguage language() const { return language_; }

 private:
  void buildUI();
  void loadSettings();
  void fitWindowToTallestTab();
  [[nodiscard]] SettingsPageContext pageContext();
  [[nodiscard]] QString text(std::string_view chinese, std::string_view english) const {
    return localizedText(language_, chinese, english);
  }

  SettingsServices services_;
  YakdromSettings settings_;
  InterfaceLanguage language_;
  std::unique_ptr<QWidget> window_;
  QTabWidget* tabs_ = nullptr;
  CandidatesPage* candidatesPage_ = nullptr;
  UserDictionaryPage* userDictionaryPage_ = nullptr;
  StatisticsPage* statisticsPage_ = nullptr;
  AboutPage* aboutPage_ = nullptr;
  QPointer<QDialog> userDictSheet_;
};

}  // namespace yakdrom
