// Writes pictures of the windows into the folder named by its argument: the candidate
// window in each panel style, light and dark, the explanation box, the pad with candidates
// open, every tab of the settings window and its editor, the keyboard chart window, and
// the application font's Tibetan stacks. Built and run by the target
// `yakdrom_screenshots`, to look at after changing how anything is drawn.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <cstdio>
#include <cstdlib>

#include "engine/learning/TemporaryFolder.h"
#include "engine/lexicon/LexiconBuilder.h"
#include "engine/lexicon/LexiconWriter.h"
#include "frontends/pad/PadTestStores.h"
#include "frontends/pad/PadWindow.h"
#include "ime/platform/BundleResourceLocator.h"
#include "ime/settings/SettingChoices.h"
#include "ime/startup/CustomFont.h"
#include "ui/ApplicationAppearance.h"
#include "ui/KeyboardChartWindow.h"
#include "ui/QtFontSystem.h"
#include "ui/settings/SettingsTestWindow.h"
#include "ui/settings/UserDictionaryEditor.h"

namespace yakdrom {
namespace {

using testing::TemporaryFolder;

constexpr const char* kWords =
    "བཀྲ་\nབཀྲ་ཤིས་\nབཀྲ་ཤིས་བདེ་ལེགས་\nབཀྲ་ཤིས་ལྷུན་པོ་\nབཀྲ་བ་\n"
    "བཀྲ་མི་ཤིས་\nབཀྲ་རྒྱལ་\n";
constexpr const char* kEnglish =
    "བཀྲ་\tbright, radiant; also the first syllable of many names and greetings\n"
    "བཀྲ་ཤིས་\tgood fortune, auspiciousness; the greeting of welcome and of the new year, "
    "said with a white scarf offered in both hands, and the name of many monasteries and "
    "people across the plateau\n"
    "བཀྲ་ཤིས་བདེ་ལེགས་\tgreetings, good luck\n";
// བཀྲ་ཤིས་ typed and kept, then བཀྲ being composed.
constexpr const char* kContext = "fcmrjxisj";
constexpr const char* kTyped = "fcmr";

std::filesystem::path writeLexicon(const TemporaryFolder& dir) {
  LexiconBuilder builder;
  builder.addWords(kWords, "words");
  builder.addExplanations(LexiconBuilder::Language::english, kEnglish, "english");
  const auto path = dir / "shots.dat";
  (void)LexiconWriter::write(path, *LexiconWriter::encode(builder.build(), LexiconForm::packed));
  return path;
}

// The windows as they stand on the desktop, on a plain backdrop a little larger than them.
QImage composite(const std::vector<QWidget*>& windows) {
  constexpr int kMargin = 16;
  QRect area;
  for (QWidget* w : windows) {
    if (w->isVisible()) area = area.united(w->geometry());
  }
  area.adjust(-kMargin, -kMargin, kMargin, kMargin);
  QImage image(area.size(), QImage::Format_ARGB32);
  image.fill(QColor(128, 134, 140));
  QPainter painter(&image);
  for (QWidget* w : windows) {
    if (w->isVisible()) painter.drawPixmap(w->geometry().topLeft() - area.topLeft(), w->grab());
  }
  return image;
}

class Writer {
 public:
  Writer(QString folder, FontSystem& fonts, const ResourceLocator& resources)
      : folder_(std::move(folder)), fonts_(fonts), resources_(resources) {}

  // Types into a fresh pad in `style` and `appearance`, then presses `extra`; the pad
  // itself is in the picture when it has a `language`.
  void shoot(CandidatePanelStyle style, AppearancePreference appearance, const QString& name,
             const std::vector<int>& extra, std::optional<InterfaceLanguage> language) {
    testing::PadTestStores stores(dir_ / (name.toStdString() + ".txt"), lexicon_);
    (void)stores.waitForLexicon();
    YakdromSettings settings(*stores.preferences, fonts_, resources_);
    settings.setPanelStyle(style);
    settings.setShowExplanation(true);
    settings.setExplanationLanguage(ExplanationLanguage::english);
    ApplicationAppearance::apply(appearance);
    PadWindow pad(stores.services(fonts_, resources_),
                  language.value_or(InterfaceLanguage::english));
    pad.move(40, 40);
    pad.show();
    pad.editor().setFocus();
    QTest::keyClicks(&pad.editor(), kContext);
    QTest::keyClicks(&pad.editor(), kTyped);
    for (const int key : extra) QTest::keyClick(&pad.editor(), Qt::Key(key));
    QCoreApplication::processEvents();
    std::vector<QWidget*> windows = {&pad.inputMethod().candidateWindow(),
                                     &pad.inputMethod().explanationBox()};
    if (language) windows.insert(windows.begin(), &pad);
    save(composite(windows), name);
  }

  // Every tab of a settings window in `language` and `appearance`, with a few learnt words
  // and typing figures; the English light one also with its editor open.
  void shootSettings(AppearancePreference appearance, const QString& suffix,
                     const std::vector<std::string>& languages) {
    ApplicationAppearance::apply(appearance);
    testing::SettingsTestWindow window(languages);
    for (const char* word : {"བཀྲ་ཤིས་", "བཀྲ་ཤིས་", "བདེ་ལེགས་", "ཐུགས་རྗེ་ཆེ་"}) {
      window.userDictionary.learn(word);
    }
    window.statistics.record("བཀྲ་ཤིས་བདེ་ལེགས། ཐུགས་རྗེ་ཆེ།");
    SettingsWindowController& controller = *window.controller;
    controller.show();
    const char* const tabs[] = {"candidates", "userdict", "stats", "about"};
    for (int i = 0; i < controller.tabs().count(); ++i) {
      controller.tabs().setCurrentIndex(i);
      QCoreApplication::processEvents();
      save(controller.window().grab().toImage(), QString("settings-") + tabs[i] + suffix);
    }
    if (suffix != "-light-en") return;
    controller.tabs().setCurrentIndex(1);
    controller.userDictionaryPage().editUserDictTapped();
    QCoreApplication::processEvents();
    save(composite({&controller.window(), controller.userDictSheet()}), "settings-editor" + suffix);
  }

  void save(const QImage& image, const QString& name) {
    const QString path = folder_ + "/" + name + ".png";
    if (!image.save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  }

 private:
  QString folder_;
  FontSystem& fonts_;
  const ResourceLocator& resources_;
  TemporaryFolder dir_;
  std::filesystem::path lexicon_ = writeLexicon(dir_);
};

struct Style {
  CandidatePanelStyle style;
  const char* name;
  int explainKey;
};

constexpr Style kStyles[] = {{CandidatePanelStyle::singleColumn, "column", Qt::Key_Right},
                             {CandidatePanelStyle::grid, "grid", Qt::Key_Right},
                             {CandidatePanelStyle::singleRow, "row", Qt::Key_Down}};

struct Look {
  AppearancePreference appearance;
  const char* name;
};

constexpr Look kLooks[] = {{AppearancePreference::light, "light"},
                           {AppearancePreference::dark, "dark"}};

}  // namespace
}  // namespace yakdrom

int main(int argc, char** argv) {
  using namespace yakdrom;
  ::setenv("QT_IM_MODULE", "none", 1);
  const TemporaryFolder home;
  ::setenv("HOME", home.path().c_str(), 1);
  // The usual folders under the home, as the settings window shows where words are kept.
  ::setenv("XDG_DATA_HOME", (home / ".local/share").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
  QApplication application(argc, argv);
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
  QDir().mkpath(folder);
  QtFontSystem fonts;
  const BundleResourceLocator resources = BundleResourceLocator::forRunningExecutable();
  yakdrom::testing::SilentLog log;
  registerCustomFont(ApplicationBundle::forRunningExecutable(), fonts, log);

  Writer writer(folder, fonts, resources);
  for (const Look& look : kLooks) {
    const QString suffix = QString("-") + look.name;
    for (const Style& style : kStyles) {
      writer.shoot(style.style, look.appearance, QString("candidates-") + style.name + suffix, {},
                   std::nullopt);
      writer.shoot(style.style, look.appearance, QString("explanation-") + style.name + suffix,
                   {style.explainKey}, std::nullopt);
    }
    writer.shoot(CandidatePanelStyle::singleColumn, look.appearance, "pad" + suffix + "-en", {},
                 InterfaceLanguage::english);
    writer.shoot(CandidatePanelStyle::singleColumn, look.appearance, "pad" + suffix + "-zh", {},
                 InterfaceLanguage::chinese);
    writer.shootSettings(look.appearance, suffix + "-en", {"en-US"});
    writer.shootSettings(look.appearance, suffix + "-zh", {"zh-CN"});
  }

  ApplicationAppearance::apply(AppearancePreference::light);
  KeyboardChartWindow chart(InterfaceLanguage::english);
  chart.show();
  writer.save(chart.grab().toImage(), "keyboard-chart");
  chart.resize(chart.size() / 2);
  writer.save(chart.grab().toImage(), "keyboard-chart-small");
  QLabel sample(QStringLiteral("བསྒྲུབས་ ཧཱུྃ་"));
  sample.setFont(QFont(qtString(kBundledFontFamily), 20));
  sample.setContentsMargins(12, 8, 12, 8);
  sample.adjustSize();
  writer.save(sample.grab().toImage(), "font-sample");
  return 0;
}
