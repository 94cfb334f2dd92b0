#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <map>

#include "ime/fakes/FakePlatform.h"
#include "ime/panel/FloatingCandidatePresenter.h"
#include "ime/platform/BundleResourceLocator.h"
#include "ime/platform/EstimatingTextMeasurer.h"
#include "ime/platform/HeadlessCandidateWindowView.h"
#include "ime/platform/HeadlessExplanationBoxView.h"
#include "ime/platform/LocalePreferredLanguages.h"
#include "ime/platform/TextInputClient.h"

namespace yakdrom {
namespace {

TEST(GeometryTest, ContainmentIsHalfOpenAndTouchingRectanglesDoNotIntersect) {
  const Rect screen{{0, 0}, {100, 50}};
  EXPECT_TRUE(screen.contains({0, 0}));
  EXPECT_FALSE(screen.contains({100, 10}));
  EXPECT_FALSE(screen.contains({10, 50}));
  EXPECT_TRUE(screen.intersects({{99, 49}, {10, 10}}));
  EXPECT_FALSE(screen.intersects({{100, 0}, {10, 10}}));
  EXPECT_TRUE(screen.intersects({{50, 10}, {0, 20}}));  // a caret has no width
  // A negative width spans to the left of its origin.
  const Rect flipped{{10, 10}, {-4, 6}};
  EXPECT_EQ(flipped.minX(), 6);
  EXPECT_EQ(flipped.width(), 4);
  EXPECT_EQ(screen.enlarged(100, 100), (Rect{{-100, -100}, {300, 250}}));
  EXPECT_EQ(describe(Rect{{1.5, -2}, {0, 20}}), "{{1.5, -2}, {0, 20}}");
  // Clients count positions in UTF-16 code units: a scalar beyond the BMP takes two.
  EXPECT_EQ(utf16Length("a\U0001F600\u0F40"), 4);
  EXPECT_FALSE((Rect{{NAN, 0}, {1, 1}}).isFinite());
}

TEST(LogTest, EveryEventIsOnePrefixedLine) {
  testing::RecordingLog log;
  log.write("未找到 Yakdrom-SN.ttf");
  log.write("path /tmp/a\nb\r\nc");
  EXPECT_EQ(log.lines, (std::vector<std::string>{"Yakdrom IME: 未找到 Yakdrom-SN.ttf",
                                                 "Yakdrom IME: path /tmp/a b  c"}));
}

TEST(LocalePreferredLanguagesTest, LanguageListThenTheMessagesLocale) {
  using Env = std::map<std::string, std::string>;
  const std::pair<Env, std::vector<std::string>> cases[] = {
      {{}, {}},
      {{{"LANG", "C.UTF-8"}}, {}},
      {{{"LANG", "zh_CN.UTF-8"}}, {"zh-CN"}},
      {{{"LANG", "en_US.UTF-8"}, {"LC_MESSAGES", "zh_TW.UTF-8"}}, {"zh-TW"}},
      {{{"LANG", "en_US.UTF-8"}, {"LC_MESSAGES", "zh_TW"}, {"LC_ALL", "de_DE@euro"}}, {"de-DE"}},
      {{{"LANGUAGE", "bo:zh_CN:en"}, {"LANG", "en_GB.UTF-8"}}, {"bo", "zh-CN", "en", "en-GB"}},
      {{{"LANGUAGE", "en::en"}, {"LC_ALL", "en.UTF-8"}, {"LANG", "zh_CN"}}, {"en"}},
      {{{"LC_ALL", ""}, {"LANG", "POSIX"}}, {}},
      // In the C locale LANGUAGE is ignored, as gettext ignores it.
      {{{"LANGUAGE", "bo:zh_CN"}}, {}},
      {{{"LANGUAGE", "bo"}, {"LANG", ""}}, {}},
      {{{"LANGUAGE", "bo"}, {"LANG", "C"}}, {}},
      {{{"LANGUAGE", "bo"}, {"LC_ALL", "POSIX"}, {"LANG", "zh_CN.UTF-8"}}, {}},
      {{{"LANGUAGE", "bo"}, {"LC_MESSAGES", "C"}, {"LANG", "zh_CN.UTF-8"}}, {}},
      {{{"LANGUAGE", "bo"}, {"LC_ALL", "C"}, {"LC_MESSAGES", "zh_TW"}}, {}},
      {{{"LANGUAGE", "bo"}, {"LANG", "C.UTF-8"}}, {"bo"}},
  };
  for (const auto& [env, expected] : cases) {
    SCOPED_TRACE(::testing::PrintToString(expected));
    LocalePreferredLanguages languages([&env = env](const char* name) -> const char* {
      const auto it = env.find(name);
      return it == env.end() ? nullptr : it->second.c_str();
    });
    EXPECT_EQ(languages.languages(), expected);
  }
}

TEST(BundleResourceLocatorTest, FindsRegularFilesOnly) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("yakdrom-resources-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir / "lex.dat");
  std::ofstream(dir / "Yakdrom-SN.ttf") << "font";
  const BundleResourceLocator resources(dir);
  EXPECT_EQ(resources.find("Yakdrom-SN", "ttf"), dir / "Yakdrom-SN.ttf");
  EXPECT_EQ(resources.find("lex", "dat"), std::nullopt);
  EXPECT_EQ(resources.find("tbtotb", "csv"), std::nullopt);
  EXPECT_EQ(BundleResourceLocator({}).find("Yakdrom-SN", "ttf"), std::nullopt);
  std::filesystem::remove_all(dir);
}

TEST(BundleResourceLocatorTest, TheRunningProgramLooksBesideItsBinFolder) {
  const auto resources = BundleResourceLocator::forRunningExecutable();
  const auto executable = std::filesystem::read_symlink("/proc/self/exe");
  EXPECT_EQ(resources.directory(), executable.parent_path() / ".." / "Resources");
}

// Without a display the panel must still know whether its window is up: candidate keys are
// only taken while it is.
TEST(HeadlessViewsTest, APanelOnHeadlessViewsShowsHidesAndSizesItself) {
  EstimatingTextMeasurer measurer;
  NoScreens screens;
  auto windowView = std::make_unique<HeadlessCandidateWindowView>(measurer);
  auto boxView = std::make_unique<HeadlessExplanationBoxView>(measurer);
  const auto& window = *windowView;
  const auto& box = *boxView;
  FloatingCandidatePresenter presenter(std::move(windowView), std::move(boxView), screens,
                                       measurer);
  CandidateList list;
  list.setExplanationProvider([](std::string_view) { return std::string(80, 'x'); });
  list.reset({"\u0F40\u0F0B", "\u0F41\u0F0B", "\u0F42\u0F0B"});

  presenter.show(list, {{300, 500}, {1, 20}});
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.content().rows.size(), 3U);
  const Rect frame = window.frame();
  EXPECT_GE(frame.size.width, 140);
  EXPECT_LE(frame.size.width, 480);
  EXPECT_EQ(frame.maxY(), 500 - 4);

  EXPECT_TRUE(list.pressArrow(ArrowKey::right));
  presenter.update(list);
  EXPECT_TRUE(box.isVisible());
  EXPECT_EQ(box.text(), std::string(80, 'x'));
  presenter.hide();
  EXPECT_FALSE(window.isVisible());
  EXPECT_FALSE(box.isVisible());
}

// Placement near the screen's edges relies on the estimate: a grid of six cells is two
// lines of three, wider than a column and less tall.
TEST(HeadlessViewsTest, AGridIsEstimatedAsLinesOfCells) {
  EstimatingTextMeasurer measurer;
  HeadlessCandidateWindowView window(measurer);
  CandidateWindowContent content;
  for (std::size_t i = 0; i < 6; ++i) {
    content.rows.push_back({i, std::to_string(i + 1), "\u0F40\u0F0B", std::nullopt, false, i == 0});
  }
  window.display(content);
  const Size column = window.fittingSize();
  content.columns = kGridColumns;
  window.display(content);
  const Size grid = window.fittingSize();
  EXPECT_GT(grid.width, 2.5 * (column.width - 12));
  EXPECT_LT(grid.height, column.height / 2.5 + 12);
}

// The headless window keeps its rows' strings from page to page: whatever it was shown
// before, it must keep exactly what it was shown last.
TEST(HeadlessViewsTest, TheCandidateWindowKeepsExactlyTheLastContent) {
  EstimatingTextMeasurer measurer;
  HeadlessCandidateWindowView window(measurer);
  const auto row = [](std::size_t index, std::string text, std::optional<std::string> more) {
    return CandidateRowContent{
        index, std::to_string(index + 1), std::move(text), std::move(more), false, index == 0};
  };
  const std::string longWord = "\u0F56\u0F7C\u0F51\u0F0B\u0F66\u0F90\u0F51\u0F0B";
  const std::vector<CandidateWindowContent> shown = {
      {false,
       1,
       Font{"A", 16},
       Font{"B", 12},
       {row(0, longWord, "an explanation longer than a short string"), row(1, longWord, {}),
        row(2, "x", {})},
       std::nullopt,
       "1/3"},
      {true,
       1,
       Font{"C", 20},
       Font{"D", 10},
       {row(0, "y", {})},
       ExplanationLineContent{"a line", true},
       ""},
      {false,
       1,
       Font{"A", 16},
       Font{"B", 12},
       {row(0, "z", {}), row(1, longWord + longWord, "more"), row(2, "w", {}), row(3, "v", {})},
       std::nullopt,
       "2/3"},
      {false,
       kGridColumns,
       Font{},
       Font{},
       {row(0, "g", {})},
       ExplanationLineContent{"g", false},
       ""},
      {false, 1, Font{}, Font{}, {}, std::nullopt, ""},
  };
  for (const auto& content : shown) {
    window.display(content);
    EXPECT_EQ(window.content(), content);
  }
}

}  // namespace
}  // namespace yakdrom
