#include <gtest/gtest.h>

#include <limits>
#include <tuple>

#include "ime/fakes/FakePlatform.h"
#include "ime/fakes/FakeTextInputClient.h"
#include "ime/panel/CaretLocator.h"

namespace yakdrom {
namespace {

const Screen kLaptop{{{0, 0}, {1440, 900}}, {{0, 0}, {1440, 875}}};
const Screen kMonitor{{{1440, 0}, {1920, 1080}}, {{1440, 0}, {1920, 1080}}};

class CaretLocatorTest : public ::testing::Test {
 protected:
  CaretLocatorTest() {
    screens.list = {kLaptop, kMonitor};
    screens.main = kLaptop;
    screens.mouse = {5000, 5000};  // off every screen unless a test moves it
  }

  testing::FakeScreens screens;
  testing::RecordingLog log;
  CaretLocator locator{screens, log};
  testing::FakeTextInputClient client;
};

TEST_F(CaretLocatorTest, ImplausibleRectanglesAreRejected) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const std::pair<Rect, bool> cases[] = {
      {{{0, 0}, {0, 0}}, false},
      {{{100, 100}, {2, 18}}, true},
      {{{100, 100}, {0, 18}}, true},
      {{{100, 100}, {2, 0}}, false},
      {{{100, 100}, {2, -18}}, false},
      {{{100, 100}, {2, 200}}, true},
      {{{100, 100}, {2, 250}}, false},
      {{{100, 100}, {2000, 18}}, true},
      {{{100, 100}, {2001, 18}}, false},
      {{{100, 100}, {2, inf}}, false},
      {{{nan, 100}, {2, 18}}, false},
      // The bottom-left corner of the screen is what confused clients report.
      {{{0, 0}, {1, 20}}, false},
      {{{1.9, -1.9}, {1, 20}}, false},
      {{{2, 0}, {1, 20}}, true},
      {{{0, 2}, {1, 20}}, true},
      // Up to 100 outside a screen still counts as on it.
      {{{-99, 500}, {1, 20}}, true},
      {{{-150, 500}, {1, 20}}, false},
      {{{3455, 500}, {1, 20}}, true},
      {{{3500, 500}, {1, 20}}, false},
  };
  for (const auto& [rect, valid] : cases) {
    SCOPED_TRACE(describe(rect));
    EXPECT_EQ(locator.isValidCaretRect(rect), valid);
  }
  screens.list.clear();
  EXPECT_FALSE(locator.isValidCaretRect({{100, 100}, {2, 18}}));
}

// The selection's first rectangle is asked for only when the line rectangle is bad.
TEST_F(CaretLocatorTest, TheLineRectangleComesFirstThenTheSelectionsFirstRectangle) {
  const Rect line{{300, 400}, {1, 18}};
  const Rect first{{310, 400}, {1, 18}};
  const std::tuple<Rect, Rect, int> cases[] = {{line, line, 0}, {Rect{}, first, 1}};
  for (const auto& [reported, expected, queries] : cases) {
    SCOPED_TRACE(describe(reported));
    client.lineRect = reported;
    client.selection = {3, 0};
    client.firstLineRect = first;
    client.firstRectQueries = 0;
    EXPECT_EQ(locator.caretRect(&client), expected);
    EXPECT_EQ(locator.lastCaretRect(), expected);
    EXPECT_EQ(client.firstRectQueries, queries);
  }
  EXPECT_TRUE(log.lines.empty());
}

TEST_F(CaretLocatorTest, BadReportsFallBackToTheLastGoodRectangleUntilCleared) {
  client.lineRect = Rect{{300, 400}, {1, 18}};
  ASSERT_EQ(locator.caretRect(&client), (Rect{{300, 400}, {1, 18}}));

  client.lineRect = Rect{{0, 0}, {0, 0}};
  client.selection = {5, 0};
  client.firstLineRect = Rect{{200, 300}, {1, 250}};
  EXPECT_EQ(locator.caretRect(&client), (Rect{{300, 400}, {1, 18}}));
  ASSERT_EQ(log.lines.size(), 1U);
  EXPECT_EQ(log.lines[0],
            "Yakdrom IME: caretRect 客户端上报无效（sel={5, 0} lineRect={{0, 0}, {0, 0}} "
            "firstRect={{200, 300}, {1, 250}}），回退缓存/鼠标");

  locator.clear();  // forgets the last good rectangle
  screens.mouse = {700, 300};
  EXPECT_EQ(locator.caretRect(nullptr), (Rect{{700, 280}, {1, 20}}));
}

TEST_F(CaretLocatorTest, WithoutASelectionTheFirstRectangleIsNotAskedFor) {
  client.lineRect = std::nullopt;
  client.selection = {TextRange::kNotFound, 0};
  client.firstLineRect = Rect{{310, 400}, {1, 18}};
  screens.mouse = {700, 300};
  EXPECT_EQ(locator.caretRect(&client), (Rect{{700, 280}, {1, 20}}));
  EXPECT_EQ(client.firstRectQueries, 0);
  ASSERT_EQ(log.lines.size(), 1U);
  EXPECT_EQ(log.lines[0],
            "Yakdrom IME: caretRect 客户端上报无效（sel={9223372036854775807, 0} "
            "lineRect={{0, 0}, {0, 0}} firstRect={{0, 0}, {0, 0}}），回退缓存/鼠标");
}

TEST_F(CaretLocatorTest, WithNothingRememberedTheMouseThenTheScreenCentreStandsIn) {
  struct Case {
    Point mouse;
    std::optional<Screen> main;
    Rect expected;
  };
  const Case cases[] = {
      {{700, 300}, kLaptop, {{700, 280}, {1, 20}}},
      {{2000, 1000}, kLaptop, {{2000, 980}, {1, 20}}},
      {{5000, 5000}, kLaptop, {{720, 437.5}, {1, 20}}},
      {{5000, 5000}, std::nullopt, {{0, 0}, {1, 20}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(describe(c.mouse));
    screens.mouse = c.mouse;
    screens.main = c.main;
    EXPECT_EQ(locator.caretRect(nullptr), c.expected);
  }
  EXPECT_TRUE(log.lines.empty());  // no client, nothing to complain about
  EXPECT_FALSE(locator.lastCaretRect());
}

}  // namespace
}  // namespace yakdrom
