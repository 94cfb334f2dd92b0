#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "engine/learning/TemporaryFolder.h"
#include "ime/fakes/FakePlatform.h"
#include "ime/startup/ApplicationBundle.h"
#include "ime/startup/CustomFont.h"
#include "support/ListedInstall.h"
#include "ui/ApplicationAppearance.h"
#include "ui/settings/CardView.h"
#include "ui/settings/CodeChipView.h"
#include "ui/settings/SettingsTestWindow.h"
#include "ui/settings/UserDictionaryEditor.h"

namespace yakdrom {
namespace {

using testing::SettingsTestWindow;
using Figure = StatisticsPage::Figure;

class SettingsWindowTest : public ::testing::Test {
 protected:
  SettingsWindowController& controller() { return *window.controller; }
  PreferenceStore& store() { return *window.preferences; }

  /// Returns the texts of the one notice open, and closes it with the button `choose`
  /// names (its OK button when `choose` is empty).
  struct Shown {
    QString title;
    QString message;
    bool offersReveal = false;
  };
  Shown closeNotice(const QString& choose = {}) {
    QApplication::processEvents();
    const auto open = window.notices();
    EXPECT_EQ(open.size(), 1U);
    if (open.size() != 1) return {};
    QMessageBox& box = *open.front();
    Shown shown{box.text(), box.informativeText(), box.buttons().size() == 2};
    for (QAbstractButton* button : box.buttons()) {
      if (choose.isEmpty() ? button == box.defaultButton() : button->text() == choose) {
        button->click();
      }
    }
    QApplication::processEvents();
    return shown;
  }

  SettingsTestWindow window;
};

TEST_F(SettingsWindowTest, EveryControlWritesItsKeyTheMomentItChanges) {
  CandidatesPage& candidates = controller().candidatesPage();
  UserDictionaryPage& dictionary = controller().userDictionaryPage();

  if (candidates.fontPopup().count() > 1) {
    candidates.fontPopup().setCurrentIndex(1);
    EXPECT_EQ(store().string(kCandidateFontNameKey),
              candidates.fontPopup().itemText(1).toStdString());
  }
  candidates.fontSizeSlider().setValue(18);
  EXPECT_EQ(store().real(kCandidateFontSizeKey), 18.0);
  EXPECT_EQ(candidates.fontSizeValueLabel().text(), "18");
  candidates.countPopup().selectTitle("12");
  EXPECT_EQ(store().integer(kCandidateCountKey), 12);
  candidates.stylePopup().setCurrentIndex(2);
  EXPECT_EQ(store().integer(kPanelStyleKey), 3);
  candidates.stylePopup().setCurrentIndex(1);
  EXPECT_EQ(store().integer(kPanelStyleKey), 2);
  candidates.displayPopup().setCurrentIndex(2);
  EXPECT_EQ(store().integer(kCandidateDisplayKey), 2);
  candidates.suggestionSwitch().click();
  EXPECT_EQ(store().boolean(kSuggestionEnabledKey), false);
  candidates.appearancePopup().setCurrentIndex(2);
  EXPECT_EQ(store().integer(kAppearanceKey), 2);
  EXPECT_TRUE(ApplicationAppearance::isDark());
  candidates.appearancePopup().setCurrentIndex(1);
  EXPECT_EQ(store().integer(kAppearanceKey), 1);
  EXPECT_FALSE(ApplicationAppearance::isDark());

  dictionary.explanationSwitch().click();
  EXPECT_EQ(store().boolean(kShowExplanationKey), true);
  dictionary.explanationLanguagePopup().setCurrentIndex(2);
  EXPECT_EQ(store().integer(kExplanationLanguageKey), 3);
  dictionary.explanationFontPopup().setCurrentIndex(0);
  dictionary.explanationFontPopup().setCurrentIndex(dictionary.explanationFontPopup().count() - 1);
  EXPECT_EQ(store().string(kExplanationFontNameKey),
            dictionary.explanationFontPopup().currentText().toStdString());
}

TEST_F(SettingsWindowTest, TheExplanationSizeTakesOnlyNumbersFromEightToSeventyTwo) {
  UserDictionaryPage& page = controller().userDictionaryPage();
  ThemedTextField& field = page.explanationFontSizeField();
  const auto type = [&field](const char* text) {
    field.setText(text);
    emit field.editingFinished();
  };
  type("14");
  EXPECT_EQ(store().real(kExplanationFontSizeKey), 14.0);
  EXPECT_EQ(page.explanationFontSizeStepper().value(), 14);
  for (const char* ignored : {"7", "80", "abc", "", "nan"}) {
    SCOPED_TRACE(ignored);
    type(ignored);
    EXPECT_EQ(store().real(kExplanationFontSizeKey), 14.0);
    EXPECT_EQ(page.explanationFontSizeStepper().value(), 14);
  }
  type("12.5");
  EXPECT_EQ(store().real(kExplanationFontSizeKey), 12.5);
  EXPECT_EQ(page.explanationFontSizeStepper().value(), 12);
  page.explanationFontSizeStepper().upButton().click();
  EXPECT_EQ(store().real(kExplanationFontSizeKey), 13.0);
  EXPECT_EQ(field.text(), "13");
}

// The controls show what is stored when the window is built, each value read by the rule
// the input method reads it by, and nothing is written back while they are filled.
TEST(SettingsWindowLoadTest, ControlsShowTheStoredValuesByTheReadingRules) {
  struct Case {
    const char* stored;
    std::function<void(PreferenceStore&)> store;
    std::function<void(SettingsWindowController&)> check;
  };
  const Case cases[] = {
      {"count 3", [](auto& s) { s.setInteger(kCandidateCountKey, 3); },
       [](auto& c) { EXPECT_EQ(c.candidatesPage().countPopup().currentText(), "10"); }},
      {"count 25", [](auto& s) { s.setInteger(kCandidateCountKey, 25); },
       [](auto& c) { EXPECT_EQ(c.candidatesPage().countPopup().currentText(), "10"); }},
      {"count 12", [](auto& s) { s.setInteger(kCandidateCountKey, 12); },
       [](auto& c) { EXPECT_EQ(c.candidatesPage().countPopup().currentText(), "12"); }},
      {"count 11", [](auto& s) { s.setInteger(kCandidateCountKey, 11); },
       [](auto& c) { EXPECT_EQ(c.candidatesPage().countPopup().currentIndex(), -1); }},
      {"size 0", [](auto& s) { s.setReal(kCandidateFontSizeKey, 0); },
       [](auto& c) {
         EXPECT_EQ(c.candidatesPage().fontSizeSlider().value(), 20);
         EXPECT_EQ(c.candidatesPage().fontSizeValueLabel().text(), "20");
       }},
      {"size 33.7", [](auto& s) { s.setReal(kCandidateFontSizeKey, 33.7); },
       [](auto& c) { EXPECT_EQ(c.candidatesPage().fontSizeValueLabel().text(), "33"); }},
      {"style 9", [](auto& s) { s.setInteger(kPanelStyleKey, 9); },
       [](auto& c) { EXPECT_EQ(c.candidatesPage().stylePopup().currentIndex(), 0); }},
      {"style 3", [](auto& s) { s.setInteger(kPanelStyleKey, 3); },
       [](auto& c) { EXPECT_EQ(c.candidatesPage().stylePopup().currentIndex(), 2); }},
      {"font gone", [](auto& s) { s.setString(kCandidateFontNameKey, "No Such Family 123"); },
       [](auto& c) { EXPECT_EQ(c.candidatesPage().fontPopup().currentIndex(), -1); }},
      {"nothing", [](auto&) {},
       [](auto& c) {
         EXPECT_EQ(c.candidatesPage().fontPopup().currentText(), "Yakdrom-SN");
         EXPECT_TRUE(c.candidatesPage().suggestionSwitch().isChecked());
         EXPECT_FALSE(c.userDictionaryPage().explanationSwitch().isChecked());
         EXPECT_EQ(c.userDictionaryPage().explanationFontSizeField().text(), "12");
       }},
      {"explanation 2, size 30",
       [](auto& s) {
         s.setInteger(kExplanationLanguageKey, 2);
         s.setReal(kExplanationFontSizeKey, 30.9);
       },
       [](auto& c) {
         EXPECT_EQ(c.userDictionaryPage().explanationLanguagePopup().currentIndex(), 1);
         EXPECT_EQ(c.userDictionaryPage().explanationFontSizeField().text(), "30");
         EXPECT_EQ(c.userDictionaryPage().explanationFontSizeStepper().value(), 30);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    SettingsTestWindow window;
    c.store(*window.preferences);
    window.rebuild();
    c.check(*window.controller);
    EXPECT_FALSE(window.preferences->contains(kAppearanceKey));
    EXPECT_FALSE(window.preferences->contains(kShowExplanationKey));
  }
}

TEST(SettingsWindowLanguageTest, ShowingRebuildsTheWholeWindowWhenTheLanguageChanged) {
  SettingsTestWindow window({"zh-CN", "en-US"});
  SettingsWindowController& controller = *window.controller;
  EXPECT_EQ(controller.window().windowTitle(), "Yakdrom 设置");
  EXPECT_EQ(controller.tabs().tabText(0), "候选词");
  EXPECT_EQ(controller.candidatesPage().stylePopup().itemText(0), "单列");
  controller.candidatesPage().countPopup().selectTitle("15");

  window.languages.list = {"en-GB"};
  controller.show();
  EXPECT_EQ(controller.language(), InterfaceLanguage::english);
  EXPECT_EQ(controller.window().windowTitle(), "Yakdrom Settings");
  const QStringList tabs = {"Candidates", "User Dictionary", "Statistics", "About"};
  for (int i = 0; i < tabs.size(); ++i) EXPECT_EQ(controller.tabs().tabText(i), tabs[i]);
  EXPECT_EQ(controller.candidatesPage().stylePopup().itemText(0), "Single Column");
  EXPECT_EQ(controller.candidatesPage().countPopup().currentText(), "15");
  EXPECT_EQ(controller.aboutPage().uninstallButton().text(), "Uninstall Yakdrom");
  for (int i = 0; i < controller.tabs().count(); ++i) {
    EXPECT_GE(controller.tabs().widget(i)->height(), SettingsWindowController::kMinContentHeight);
    EXPECT_GE(controller.tabs().widget(i)->width(), SettingsWindowController::kContentWidth);
  }
}

TEST_F(SettingsWindowTest, EveryControlHasANameForAssistiveTechnology) {
  for (QWidget* control : controller().window().findChildren<QWidget*>()) {
    const bool isControl = qobject_cast<QAbstractButton*>(control) != nullptr ||
                           qobject_cast<QComboBox*>(control) != nullptr ||
                           qobject_cast<QSlider*>(control) != nullptr ||
                           qobject_cast<QLineEdit*>(control) != nullptr;
    if (!isControl || qobject_cast<QComboBox*>(control->parentWidget()) != nullptr) continue;
    const auto* button = qobject_cast<QAbstractButton*>(control);
    const bool named =
        !control->accessibleName().isEmpty() || (button != nullptr && !button->text().isEmpty());
    EXPECT_TRUE(named) << control->metaObject()->className();
  }
}

// Tab walks the candidate page's controls in the order they are shown, top to bottom.
TEST_F(SettingsWindowTest, TabVisitsTheControlsInTheOrderTheyAreShown) {
  controller().show();
  CandidatesPage& page = controller().candidatesPage();
  const std::vector<QWidget*> shown = {
      &page.fontPopup(),    &page.fontSizeSlider(),   &page.countPopup(),     &page.stylePopup(),
      &page.displayPopup(), &page.suggestionSwitch(), &page.appearancePopup()};
  QApplication::setActiveWindow(&controller().window());
  page.fontPopup().setFocus(Qt::TabFocusReason);
  std::vector<QWidget*> visited = {QApplication::focusWidget()};
  for (std::size_t i = 1; i < shown.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited.push_back(QApplication::focusWidget());
  }
  EXPECT_EQ(visited, shown);
}

TEST_F(SettingsWindowTest, DictionaryActionsReportSuccessAndFailureInNotices) {
  UserDictionaryPage& page = controller().userDictionaryPage();
  controller().show();
  EXPECT_TRUE(page.userDictCountLabel().text().startsWith("0 entries memorized · Stored in "));
  EXPECT_TRUE(page.userDictCountLabel().text().endsWith("/Yakdrom/"));

  window.files.answers = {std::nullopt};
  page.importUserDictTapped();
  QApplication::processEvents();
  EXPECT_TRUE(window.notices().empty());

  window.files.answers = {window.folder / "missing.txt"};
  page.importUserDictTapped();
  QApplication::processEvents();
  ASSERT_EQ(window.notices().size(), 1U);
  EXPECT_EQ(window.notices().front()->text(), "Import Failed");
  QTest::keyClick(window.notices().front(), Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_TRUE(window.notices().empty());
  EXPECT_TRUE(page.userDictCountLabel().text().startsWith("0 entries"));

  testing::writeBytes(window.folder / "list.txt", "བོད་ 20\nཀ་\n");
  window.files.answers = {window.folder / "list.txt"};
  page.importUserDictTapped();
  const auto imported = closeNotice();
  EXPECT_EQ(imported.title, "Imported");
  EXPECT_EQ(imported.message, "2 entries imported. Effective immediately and saved to disk.");
  EXPECT_FALSE(imported.offersReveal);
  EXPECT_TRUE(page.userDictCountLabel().text().startsWith("2 entries"));
  EXPECT_EQ(controller().statisticsPage().label(Figure::dictionaryEntries).text(), "2");

  const auto exportedFile = window.folder / "out.txt";
  window.files.answers = {exportedFile};
  page.exportUserDictTapped();
  EXPECT_EQ(window.files.proposedNames.back(), "Yakdrom User Dictionary.txt");
  const auto exported = closeNotice("Show in File Manager");
  EXPECT_EQ(exported.title, "Exported");
  EXPECT_EQ(exported.message,
            QString("2 entries exported to\n") + QString::fromStdString(exportedFile.string()));
  ASSERT_EQ(window.files.revealed.size(), 1U);
  EXPECT_EQ(window.files.revealed.back(), exportedFile);

  // A file where a folder should be makes every write below it fail, even for root.
  testing::writeBytes(window.folder / "blocker", "");
  window.files.answers = {window.folder / "blocker" / "out.txt"};
  page.exportUserDictTapped();
  const auto failed = closeNotice();
  EXPECT_EQ(failed.title, "Export Failed");
  EXPECT_FALSE(failed.offersReveal);

  page.backupUserDictTapped();
  const auto backedUp = closeNotice();
  EXPECT_EQ(backedUp.title, "Backed Up");
  EXPECT_TRUE(backedUp.message.endsWith("\n(The 10 most recent backups are kept)"));
  EXPECT_TRUE(backedUp.offersReveal);
  EXPECT_EQ(window.files.revealed.size(), 1U);

  std::filesystem::remove_all(window.folder / "backups");
  testing::writeBytes(window.folder / "backups", "");
  page.backupUserDictTapped();
  EXPECT_EQ(closeNotice().title, "Backup Failed");
}

TEST_F(SettingsWindowTest, SavingTheEditorKeepsWordsLearntWhileItWasOpen) {
  window.userDictionary.learn("ཀ་");
  window.userDictionary.learn("ཁ་");
  controller().show();
  UserDictionaryPage& page = controller().userDictionaryPage();
  page.editUserDictTapped();
  page.editUserDictTapped();
  const auto editors = testing::widgetsOf<UserDictionaryEditor>(controller().window());
  ASSERT_EQ(editors.size(), 1U);
  UserDictionaryEditor& editor = *editors.front();
  EXPECT_EQ(controller().userDictSheet(), &editor);
  EXPECT_EQ(editor.windowTitle(), "User Dictionary · 2 entries");

  window.userDictionary.learn("ག་");
  window.userDictionary.learn("ཀ་");
  auto& model = editor.model();
  const auto rowOf = [&model](const std::string& word) {
    for (std::size_t row = 0; row < model.entries().size(); ++row) {
      if (model.entries()[row].word == word) return static_cast<int>(row);
    }
    return -1;
  };
  ASSERT_TRUE(model.setData(model.index(rowOf("ཁ་"), UserDictionaryTableModel::frequencyColumn),
                            "9", Qt::EditRole));
  editor.saveButton().click();
  QApplication::processEvents();

  const std::vector<UserDictionaryEntry> expected = {{"ཁ་", 9}, {"ཀ་", 2}, {"ག་", 1}};
  EXPECT_EQ(window.userDictionary.allEntries(), expected);
  const auto saved = closeNotice();
  EXPECT_EQ(saved.title, "Saved");
  EXPECT_EQ(saved.message, "User dictionary updated with 3 entries.");
  EXPECT_TRUE(page.userDictCountLabel().text().startsWith("3 entries"));
  EXPECT_EQ(controller().userDictSheet(), nullptr);
}

TEST_F(SettingsWindowTest, StatisticsShowTheCountersAndResetOnlyWhenConfirmed) {
  StatisticsPage& page = controller().statisticsPage();
  EXPECT_EQ(page.label(Figure::characters).text(), "0");
  EXPECT_EQ(page.label(Figure::charactersPerWord).text(), "0.0");
  const std::tuple<int, int, const char*> averages[] = {
      {10, 4, "2.5"}, {10, 3, "3.3"}, {7, 0, "0.0"}};
  for (const auto& [characters, words, average] : averages) {
    store().setInteger(InputStatistics::kTotalCharactersKey, characters);
    store().setInteger(InputStatistics::kTotalWordsKey, words);
    controller().show();
    EXPECT_EQ(page.label(Figure::charactersPerWord).text(), average);
  }
  window.statistics.record("ཀ་ཁ་");
  window.userDictionary.learn("ཀ་");
  controller().show();
  EXPECT_EQ(page.label(Figure::characters).text(), "11");
  EXPECT_EQ(page.label(Figure::todayCharacters).text(), "4");
  EXPECT_EQ(page.label(Figure::weekWords).text(), "2");
  EXPECT_EQ(page.label(Figure::dictionaryEntries).text(), "1");

  page.clearButton().click();
  EXPECT_EQ(closeNotice("Cancel").title, "Clear Typing Statistics?");
  EXPECT_EQ(window.statistics.totalCharacters(), 11);

  page.clearButton().click();
  EXPECT_EQ(closeNotice("Clear").title, "Clear Typing Statistics?");
  EXPECT_EQ(closeNotice().title, "Cleared");
  for (const Figure figure : {Figure::characters, Figure::words, Figure::todayCharacters,
                              Figure::weekCharacters, Figure::todayWords, Figure::weekWords}) {
    EXPECT_EQ(page.label(figure).text(), "0");
  }
  EXPECT_EQ(page.label(Figure::dictionaryEntries).text(), "1");
}

TEST_F(SettingsWindowTest, ThemeSwitchRestylesTheOpenWindow) {
  ApplicationAppearance::apply(AppearancePreference::light);
  controller().show();
  QApplication::processEvents();
  const QColor darkControl(65, 63, 64);
  const QWidget& shown = controller().window();
  CardView& card = *testing::widgetsOf<CardView>(shown).front();
  CodeChipView& chip = *testing::widgetsOf<CodeChipView>(shown).front();
  FlatButton& button = *testing::widgetsOf<FlatButton>(shown).front();
  ThemedTextField& field = controller().userDictionaryPage().explanationFontSizeField();
  ThemedPopUpButton& popUp = controller().candidatesPage().countPopup();
  EXPECT_EQ(controller().candidatesPage().background(), QColor(Qt::white));
  EXPECT_EQ(card.background(), QColor(247, 247, 247));
  EXPECT_NE(button.palette().color(QPalette::Button), darkControl);

  ApplicationAppearance::apply(AppearancePreference::dark);
  QApplication::processEvents();
  EXPECT_EQ(controller().candidatesPage().background(), QColor(43, 40, 42));
  EXPECT_EQ(card.background(), QColor(49, 47, 48));
  EXPECT_EQ(chip.background().alpha(), 56);
  EXPECT_EQ(button.palette().color(QPalette::Button), darkControl);
  EXPECT_EQ(popUp.palette().color(QPalette::Button), darkControl);
  EXPECT_EQ(field.palette().color(QPalette::Base), darkControl);
  EXPECT_EQ(field.palette().color(QPalette::Text), QColor(Qt::white));

  ApplicationAppearance::apply(AppearancePreference::light);
  QApplication::processEvents();
  EXPECT_EQ(card.background(), QColor(247, 247, 247));
  EXPECT_NE(field.palette().color(QPalette::Base), darkControl);
}

TEST(CodeChipViewTest, ShowsItsTextInTheProgramsFontOrElseTheDesktopsFont) {
  // Fonts stay registered for the life of the process, so only the first run of this test
  // in a process sees the font missing.
  if (!QFontDatabase::hasFamily("Yakdrom-SN")) {
    const CodeChipView before(QStringLiteral("བོད་ 20"));
    EXPECT_EQ(before.label().text(), "བོད་ 20");
    EXPECT_NE(before.label().font().family(), "Yakdrom-SN");
  }
  QtFontSystem fonts;
  testing::RecordingLog log;
  registerCustomFont(ApplicationBundle::forRunningExecutable(), fonts, log);
  const CodeChipView after(QStringLiteral("བོད་"));
  EXPECT_EQ(after.label().font().family(), "Yakdrom-SN");
}

// The confirmation guards the files; the program ends only once the report was read.
TEST_F(SettingsWindowTest, UninstallRemovesTheUsersCopyAndEndsTheProgramAfterTheReport) {
  const InstallLayout user = InstallLayout::perUser(window.folder / "home");
  testing::layOutInstall(user, window.folder / "home/.local/share/ibus/component/yakdrom.xml");
  controller().show();
  AboutPage& about = controller().aboutPage();

  about.uninstallButton().click();
  EXPECT_EQ(closeNotice("Cancel").title, "Uninstall Yakdrom?");
  EXPECT_TRUE(std::filesystem::exists(user.manifest()));

  about.uninstallButton().click();
  closeNotice("Uninstall");
  EXPECT_FALSE(std::filesystem::exists(user.bundle));
  EXPECT_EQ(window.programEnds, 0);
  const Shown report = closeNotice();
  EXPECT_EQ(report.title, "已卸载");
  EXPECT_TRUE(
      report.message.startsWith("已删除：\n" + QString::fromStdString(user.bundle.string())))
      << report.message.toStdString();
  EXPECT_EQ(window.programEnds, 1);
}

}  // namespace
}  // namespace yakdrom
