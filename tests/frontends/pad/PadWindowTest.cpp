#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <set>

#include "engine/composition/KeyCode.h"
#include "engine/learning/TemporaryFolder.h"
#include "engine/lexicon/LexiconBuilder.h"
#include "engine/lexicon/LexiconWriter.h"
#include "frontends/cli/KeyNotation.h"
#include "frontends/cli/TypingSession.h"
#include "frontends/pad/PadKeyEvents.h"
#include "frontends/pad/PadTestStores.h"
#include "frontends/pad/PadWindow.h"
#include "ime/fakes/FakePlatform.h"
#include "ime/help/PadKeys.h"
#include "ui/QtFontSystem.h"
#include "ui/settings/SettingsTestWindow.h"

namespace yakdrom {
namespace {

using testing::TemporaryFolder;

// བཀྲ་ཤིས་ and its neighbours, so that "fcmr" (བཀྲ) offers a few words.
constexpr const char* kWords = "བཀྲ་\nབཀྲ་ཤིས་\nབཀྲ་ཤིས་བདེ་ལེགས་\nབཀྲ་བ་\nཤིས་\n";

std::filesystem::path writeLexicon(const TemporaryFolder& dir) {
  LexiconBuilder builder;
  builder.addWords(kWords, "words");
  const auto bytes = LexiconWriter::encode(builder.build(), LexiconForm::packed);
  EXPECT_TRUE(bytes.has_value());
  const auto path = dir / "words.dat";
  EXPECT_TRUE(LexiconWriter::write(path, bytes.value_or("")).ok());
  return path;
}

class PadWindowTest : public ::testing::Test {
 protected:
  PadWindowTest()
      : stores(dir / "pad-user.txt", writeLexicon(dir)),
        window(stores.services(fonts, resources), InterfaceLanguage::english) {
    EXPECT_TRUE(stores.waitForLexicon());
    window.show();
    window.activateWindow();
    window.editor().setFocus();
  }

  [[nodiscard]] std::string document() { return window.editor().toPlainText().toStdString(); }
  [[nodiscard]] const std::string& marked() const {
    return window.inputMethod().client().markedText();
  }
  [[nodiscard]] const CandidateList& candidates() const {
    return window.inputMethod().session().candidates();
  }
  [[nodiscard]] bool learnt(const std::string& word) const {
    for (const auto& entry : stores.userDictionary.allEntries()) {
      if (entry.word == word) return true;
    }
    return false;
  }

  TemporaryFolder dir;
  testing::PadTestStores stores;
  QtFontSystem fonts;
  testing::FakeResourceLocator resources;
  PadWindow window;
};

TEST_F(PadWindowTest, TypesWordsConfirmedByANumberAndByAClick) {
  QTest::keyClicks(&window.editor(), "fcmr");
  EXPECT_EQ(marked(), "བཀྲ");
  EXPECT_EQ(document(), "");
  ASSERT_TRUE(window.inputMethod().candidateWindow().isVisible());
  const std::vector<std::string> offered = candidates().candidates();
  ASSERT_GE(offered.size(), 3U);
  QTest::keyClick(&window.editor(), Qt::Key_2, Qt::NoModifier);
  EXPECT_EQ(document(), offered[1]);
  EXPECT_EQ(marked(), "");
  EXPECT_TRUE(learnt(offered[1]));

  QTest::keyClicks(&window.editor(), "fcmr");
  CandidateWindow& shown = window.inputMethod().candidateWindow();
  const auto& rows = shown.layout().rows();
  ASSERT_GE(rows.size(), 3U);
  const std::string clicked = candidates().candidates()[rows[2].index];
  QTest::mouseClick(&shown, Qt::LeftButton, {}, rows[2].background.center().toPoint());
  EXPECT_EQ(document(), offered[1] + clicked);
  EXPECT_TRUE(learnt(clicked));
  EXPECT_GE(stores.statistics.totalWords(), 2);

  // What was typed is saved as typed; a file that cannot be written says why.
  const auto path = dir / "saved.txt";
  EXPECT_EQ(window.saveTo(QString::fromStdString(path.string())), std::nullopt);
  EXPECT_EQ(testing::readBytes(path), document());
  EXPECT_TRUE(window.saveTo(QString::fromStdString((dir / "no/such/folder.txt").string())));
}

// The settings window writes the store the pad's input method reads at every key, so a
// change shows in the very next candidate window.
TEST_F(PadWindowTest, TheSettingsWindowChangesTheNextCandidateWindow) {
  for (QAction* action : window.findChildren<QAction*>()) {
    if (action->text() == "Settings…") action->trigger();
  }
  EXPECT_EQ(stores.settingsWindow.shown, 1);

  testing::FakePreferredLanguages languages;
  testing::ScriptedDesktopFiles files;
  UpdateChecker updates(UpdateChecker::Config{});
  testing::RecordingLog log;
  testing::TemporaryFolder nowhere;
  Uninstaller uninstaller(testing::uninstallPlaces(nowhere.path()), log);
  SettingsWindowController settings({*stores.preferences, stores.userDictionary, stores.statistics,
                                     fonts, resources, languages, files, updates, log, uninstaller,
                                     [] {}});
  const auto rowTops = [this] {
    std::set<qreal> tops;
    for (const auto& row : window.inputMethod().candidateWindow().layout().rows()) {
      tops.insert(row.background.top());
    }
    return tops;
  };
  QTest::keyClicks(&window.editor(), "fcmr");
  ASSERT_GE(candidates().candidates().size(), 3U);
  EXPECT_EQ(rowTops().size(), candidates().candidates().size());

  settings.candidatesPage().stylePopup().setCurrentIndex(2);
  settings.candidatesPage().countPopup().selectTitle("5");
  QTest::keyClick(&window.editor(), Qt::Key_1);
  QTest::keyClicks(&window.editor(), "fcmr");
  ASSERT_TRUE(window.inputMethod().candidateWindow().isVisible());
  EXPECT_EQ(rowTops().size(), 1U);
}

TEST_F(PadWindowTest, HelpShowsTheChartAndEveryKeyThePadAnswers) {
  for (QAction* action : window.findChildren<QAction*>()) {
    if (action->text() == "Keyboard Chart") action->trigger();
  }
  ASSERT_NE(window.keyboardChart(), nullptr);
  EXPECT_TRUE(window.keyboardChart()->isVisible());
  EXPECT_TRUE(window.keyboardChart()->isValid());
  const QString keys = window.padKeysText();
  for (const PadKey& key : kCandidateKeys) {
    EXPECT_TRUE(keys.contains(QString::fromUtf8(key.keys.data(), key.keys.size()).toHtmlEscaped()))
        << key.keys;
  }
  EXPECT_TRUE(keys.contains("yakdrom layout"));
}

TEST_F(PadWindowTest, LeavingTheTextAreaOrClickingInItKeepsTheSyllable) {
  QTest::keyClicks(&window.editor(), "fcmr");
  QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
  QApplication::sendEvent(&window.editor(), &out);
  EXPECT_EQ(document(), "བཀྲ");
  EXPECT_FALSE(window.inputMethod().candidateWindow().isVisible());

  QFocusEvent in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
  QApplication::sendEvent(&window.editor(), &in);
  QTest::keyClicks(&window.editor(), "fcm");
  QTest::mouseClick(window.editor().viewport(), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(document(), "བཀྲབཀ");
  EXPECT_EQ(marked(), "");
}

// Keys from a real X server carry their scan codes: typed by xdotool, the layout's letters
// become Tibetan by position. Runs where the tests run on X (the CI's Xvfb stage).
TEST_F(PadWindowTest, KeysFromTheXServerTypeByPosition) {
  if (QGuiApplication::platformName() != QLatin1String("xcb") ||
      QStandardPaths::findExecutable("xdotool").isEmpty()) {
    GTEST_SKIP() << "needs an X server and xdotool";
  }
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  window.editor().setFocus();
  ASSERT_EQ(QProcess::execute("xdotool", {"type", "--delay", "10", "fcmrjxisjfcmr"}), 0);
  const bool typed = QTest::qWaitFor([this] { return marked() == "བཀྲ"; }, 10'000);
  ASSERT_TRUE(typed) << document() << " / " << marked();
  EXPECT_EQ(document(), "བཀྲ་ཤིས་");
  EXPECT_TRUE(window.inputMethod().candidateWindow().isVisible());
  EXPECT_FALSE(window.inputMethod().candidateWindow().isActiveWindow());
}

// Closing with text that was never saved asks first: Cancel keeps the window, Discard
// closes it; saved text closes without a question.
TEST_F(PadWindowTest, ClosingAsksBeforeUnsavedTextIsLost) {
  const auto answer = [](QMessageBox::StandardButton button) {
    QTimer::singleShot(0, [button] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      box->button(button)->click();
    });
  };
  QTest::keyClicks(&window.editor(), "fcmrjxisj");
  answer(QMessageBox::Cancel);
  EXPECT_FALSE(window.close());
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.saveTo(QString::fromStdString((dir / "kept.txt").string())), std::nullopt);
  EXPECT_TRUE(window.close());
  window.show();
  QTest::keyClicks(&window.editor(), "fcmr");
  answer(QMessageBox::Discard);
  EXPECT_TRUE(window.close());
  EXPECT_EQ(testing::readBytes(dir / "kept.txt"), "བཀྲ་ཤིས་");
}

// Qt reports one Alt modifier for both Alt keys: only the key seen going down tells
// whether the Option layer (right Alt, AltGr) or a shortcut (left Alt) is meant.
TEST(PadKeyTranslationTest, TheAltKeysAreToldApartByTheKeyHeld) {
  constexpr std::uint32_t kOffset = kX11KeycodeOffset;
  const auto press = [](int key, Qt::KeyboardModifiers modifiers, std::uint32_t scanCode,
                        const QString& text = {}) {
    return QKeyEvent(QEvent::KeyPress, key, modifiers, scanCode, 0, 0, text);
  };
  PadKeyTranslation keys;
  const QKeyEvent m = press(Qt::Key_M, Qt::AltModifier, KEY_M + kOffset, "m");
  EXPECT_EQ(keys.translate(m)->flags, kCommandFlag);  // left Alt
  keys.observe(press(Qt::Key_Alt, Qt::AltModifier, KEY_RIGHTALT + kOffset));
  EXPECT_EQ(keys.translate(m)->flags, kOptionFlag);
  keys.observe(
      QKeyEvent(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier, KEY_RIGHTALT + kOffset, 0, 0));
  EXPECT_EQ(keys.translate(m)->flags, kCommandFlag);
  keys.observe(press(Qt::Key_AltGr, Qt::NoModifier, KEY_RIGHTALT + kOffset));
  EXPECT_EQ(keys.translate(press(Qt::Key_M, Qt::NoModifier, KEY_M + kOffset, "m"))->flags,
            kOptionFlag);

  // Without positions, a key's US meaning stands in, and Alt means Option.
  PadKeyTranslation unpositioned;
  const auto shiftedK = unpositioned.translate(press(Qt::Key_K, Qt::NoModifier, 0, "K"));
  ASSERT_TRUE(shiftedK);
  EXPECT_EQ(shiftedK->keyCode, KeyCode::kK);
  EXPECT_EQ(shiftedK->flags, kShiftFlag);
  EXPECT_EQ(unpositioned.translate(press(Qt::Key_M, Qt::AltModifier, 0))->flags, kOptionFlag);
  EXPECT_EQ(unpositioned.translate(press(Qt::Key_Return, Qt::NoModifier, 0, "\r"))->keyCode,
            KeyCode::kReturn);
  EXPECT_FALSE(unpositioned.translate(press(Qt::Key_F5, Qt::NoModifier, 0)));
  EXPECT_TRUE(PadKeyTranslation::isModifier(press(Qt::Key_Shift, Qt::ShiftModifier, 0)));
  EXPECT_FALSE(PadKeyTranslation::isModifier(press(Qt::Key_F5, Qt::NoModifier, 0)));
}

// Typed by position, as X11 and Wayland report keys: the pad must do exactly what the
// command line's simulated field does with the same keys, after every key.
class PadAndFieldTest : public PadWindowTest {
 protected:
  PadAndFieldTest() : fieldStores(dir / "field-user.txt", writeLexicon(dir)) {
    EXPECT_TRUE(fieldStores.waitForLexicon());
  }

  testing::PadTestStores fieldStores;
};

TEST_F(PadAndFieldTest, EveryKeyLeavesThePadAsTheSimulatedField) {
  cli::TypingSession field({*fieldStores.preferences, fieldStores.userDictionary,
                            fieldStores.statistics, fieldStores.lexicon});
  field.start();
  const auto keys = cli::parseKeyNotation(
      "fcmr{down}{return}fcm{escape}{delete}{return}"
      "xisj{space}fcmr2fcmrj{delete}c{opt+i}j");
  ASSERT_FALSE(keys.error);
  for (const cli::KeyPress& key : keys.keys) {
    SCOPED_TRACE(key.written);
    ASSERT_TRUE(testing::sendKey(window.editor(), key));
    (void)field.press(key);
    EXPECT_EQ(document(), field.field().document());
    EXPECT_EQ(marked(), field.field().marked());
    EXPECT_EQ(window.inputMethod().session().candidatesVisible(), field.candidates().visible);
  }
  EXPECT_FALSE(document().empty());
}

}  // namespace
}  // namespace yakdrom
