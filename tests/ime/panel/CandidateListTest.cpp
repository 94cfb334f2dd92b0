#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "ime/fakes/FakePlatform.h"
#include "ime/fakes/FakeWindows.h"
#include "ime/panel/CandidateList.h"
#include "ime/panel/DesktopPanelPresenter.h"
#include "ime/panel/FloatingCandidatePresenter.h"
#include "ime/panel/SwitchingCandidatePresenter.h"

namespace yakdrom {
namespace {

using testing::FakeCandidateWindowView;
using testing::FakeExplanationBoxView;

std::vector<std::string> words(std::size_t n) {
  std::vector<std::string> list;
  for (std::size_t i = 0; i < n; ++i) list.push_back("w" + std::to_string(i));
  return list;
}

std::vector<std::string> numbers(const CandidateWindowContent& content) {
  std::vector<std::string> list;
  for (const auto& row : content.rows) list.push_back(row.number);
  return list;
}

// The list and the floating presenter as the controller drives them: every change that
// reports itself is shown again.
class Panel {
 public:
  explicit Panel(std::unique_ptr<CandidatePresenter> presenter)
      : presenter_(std::move(presenter)) {}

  void show(std::vector<std::string> candidates, const Rect& caret) {
    list.reset(std::move(candidates));
    presenter_->show(list, caret);
  }
  void moveSelection(int step) {
    list.moveSelection(step);
    presenter_->update(list);
  }
  void pressArrow(ArrowKey key) {
    if (list.pressArrow(key)) presenter_->update(list);
  }
  void hide() {
    presenter_->hide();
    list.clear();
  }
  CandidateList* operator->() { return &list; }

  CandidateList list;
  std::unique_ptr<CandidatePresenter> presenter_;
};

class CandidateListTest : public ::testing::Test {
 protected:
  CandidateListTest() {
    const Screen screen{{{0, 0}, {1440, 900}}, {{0, 0}, {1440, 875}}};
    screens.list = {screen};
    screens.main = screen;
    auto windowView = std::make_unique<FakeCandidateWindowView>();
    auto boxView = std::make_unique<FakeExplanationBoxView>();
    window = windowView.get();
    box = boxView.get();
    panel = std::make_unique<Panel>(std::make_unique<FloatingCandidatePresenter>(
        std::move(windowView), std::move(boxView), screens, measurer));
    panel->list.setPageSize(10);
  }

  void provideExplanations(std::map<std::string, std::string> texts) {
    panel->list.setExplanationProvider(
        [texts = std::move(texts)](std::string_view word) -> std::optional<std::string> {
          const auto it = texts.find(std::string(word));
          if (it == texts.end()) return std::nullopt;
          return it->second;
        });
  }

  testing::FakeScreens screens;
  testing::FakeTextMeasurer measurer;
  FakeCandidateWindowView* window = nullptr;
  FakeExplanationBoxView* box = nullptr;
  std::unique_ptr<Panel> panel;
  const Rect caret{{500, 500}, {1, 20}};
};

TEST_F(CandidateListTest, PagesFollowTheSelectionAndWrapAround) {
  panel->show(words(23), caret);
  EXPECT_EQ(window->last().pageLabel, "1/3");
  EXPECT_EQ(numbers(window->last()),
            (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
  EXPECT_TRUE(window->last().rows[0].isSelected);

  for (int i = 0; i < 9; ++i) panel->moveSelection(+1);
  EXPECT_EQ(panel->list.selection(), 9U);
  EXPECT_EQ(panel->list.page(), 0U);
  panel->moveSelection(+1);
  EXPECT_EQ(panel->list.page(), 1U);
  EXPECT_EQ(window->last().pageLabel, "2/3");
  EXPECT_EQ(window->last().rows[0].text, "w10");
  EXPECT_EQ(window->last().rows[0].number, "1");
  EXPECT_TRUE(window->last().rows[0].isSelected);

  panel->show(words(23), caret);
  panel->moveSelection(-1);
  EXPECT_EQ(panel->list.selection(), 22U);
  EXPECT_EQ(panel->list.page(), 2U);
  EXPECT_EQ(window->last().pageLabel, "3/3");
  EXPECT_EQ(numbers(window->last()), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_TRUE(window->last().rows[2].isSelected);
  panel->moveSelection(+1);
  EXPECT_EQ(panel->list.selection(), 0U);
  EXPECT_EQ(window->last().pageLabel, "1/3");
}

TEST_F(CandidateListTest, PageLabelCountsPagesOnlyWhenThereAreTwoOrMore) {
  const std::tuple<std::size_t, std::size_t, std::string> cases[] = {
      {10, 1, ""},     {10, 9, ""},     {10, 10, ""},  {10, 11, "1/2"},
      {10, 20, "1/2"}, {10, 21, "1/3"}, {0, 3, "1/3"},  // a null page size is taken as one
  };
  for (const auto& [pageSize, count, label] : cases) {
    SCOPED_TRACE(::testing::Message() << pageSize << " " << count);
    panel->list.setPageSize(pageSize);
    panel->show(words(count), caret);
    EXPECT_EQ(window->last().pageLabel, label);
  }
  EXPECT_EQ(panel->list.pageSize(), 1U);
}

TEST_F(CandidateListTest, NumbersSelectOnTheCurrentPageWithoutRedrawing) {
  panel->show(words(23), caret);
  panel->moveSelection(-1);  // page 3: w20, w21, w22
  const auto draws = window->displayed.size();

  EXPECT_EQ(panel->list.select(1), "w20");
  EXPECT_EQ(panel->list.selection(), 20U);
  for (int number : {7, 4, 0, -3}) {
    SCOPED_TRACE(number);
    EXPECT_EQ(panel->list.select(number), std::nullopt);
    EXPECT_EQ(panel->list.selection(), 20U);
  }
  EXPECT_EQ(window->displayed.size(), draws);
}

TEST_F(CandidateListTest, MovingWithoutCandidatesDoesNothing) {
  panel->list.moveSelection(+1);
  panel->list.moveSelection(-1);
  EXPECT_EQ(panel->list.selection(), 0U);
  EXPECT_EQ(panel->list.page(), 0U);
}

TEST_F(CandidateListTest, WindowWidthStaysBetween140And480AndLeavesRoomForThePageLabel) {
  const std::pair<Size, Size> cases[] = {
      {{90, 50}, {140, 64}}, {{700, 80}, {480, 94}}, {{300, 120}, {300, 134}}};
  for (const auto& [fitting, content] : cases) {
    SCOPED_TRACE(fitting.width);
    window->fitting = fitting;
    panel->show(words(3), caret);
    EXPECT_EQ(window->frame().size, content);
  }
}

// Ten candidates side by side never fit into 480 points: a single row may take the width
// of the narrowest screen, less a margin, so that it still fits wherever it is placed.
TEST_F(CandidateListTest, ASingleRowMayBeAsWideAsTheNarrowestScreen) {
  panel->list.setHorizontal(true);
  const Screen narrow{{{1440, 0}, {1024, 768}}, {{1440, 0}, {1024, 768}}};
  for (const auto& [fitting, width] : {std::pair{700.0, 700.0}, {2000.0, 1432.0}}) {
    window->fitting = {fitting, 60};
    panel->show(words(10), caret);
    EXPECT_EQ(window->frame().size.width, width);
  }
  screens.list.push_back(narrow);
  window->fitting = {2000, 60};
  panel->show(words(10), caret);
  EXPECT_EQ(window->frame().size.width, 1016);
  EXPECT_GE(window->frame().minX(), 4);
}

TEST_F(CandidateListTest, OnlyTheSelectedRowOfAVerticalPanelExplainsItself) {
  provideExplanations({{"w0", "short"}, {"w1", "long"}, {"w2", ""}});
  measurer.widths = {{"short", 200}, {"long", 300}};
  panel->show(words(3), caret);
  const auto& first = window->last();
  EXPECT_EQ(first.rows[0].explanation, "short");
  EXPECT_FALSE(first.rows[0].showsMoreButton);
  EXPECT_EQ(first.rows[1].explanation, std::nullopt);
  EXPECT_FALSE(first.explanationLine);

  panel->moveSelection(+1);
  EXPECT_EQ(window->last().rows[0].explanation, std::nullopt);
  EXPECT_EQ(window->last().rows[1].explanation, "long");
  EXPECT_TRUE(window->last().rows[1].showsMoreButton);

  panel->moveSelection(+1);  // an empty explanation is none
  EXPECT_EQ(window->last().rows[2].explanation, std::nullopt);
  EXPECT_FALSE(window->last().rows[2].showsMoreButton);
}

TEST_F(CandidateListTest, TheMoreButtonAppearsWhenTheExplanationDoesNotFit) {
  struct Case {
    bool horizontal;
    double width;
    bool more;
  };
  const Case cases[] = {{false, 200, false}, {false, 260, false}, {false, 261, true},
                        {true, 300, false},  {true, 400, false},  {true, 401, true}};
  provideExplanations({{"w0", "text"}});
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.horizontal) + " " + std::to_string(c.width));
    measurer.widths["text"] = c.width;
    panel->list.setHorizontal(c.horizontal);
    panel->show(words(2), caret);
    const auto& content = window->last();
    const bool more =
        c.horizontal ? content.explanationLine->showsMoreButton : content.rows[0].showsMoreButton;
    EXPECT_EQ(more, c.more);
  }
}

TEST_F(CandidateListTest, ASingleRowPanelExplainsInALineUnderTheRows) {
  panel->list.setHorizontal(true);
  panel->show(words(3), caret);
  EXPECT_FALSE(window->last().explanationLine);  // no provider

  provideExplanations({{"w1", "meaning"}, {"w2", ""}});
  panel->show(words(3), caret);
  EXPECT_FALSE(window->last().explanationLine);
  panel->moveSelection(+1);
  ASSERT_TRUE(window->last().explanationLine);
  EXPECT_EQ(window->last().explanationLine->text, "meaning");
  for (const auto& row : window->last().rows) EXPECT_FALSE(row.explanation);
  panel->moveSelection(+1);
  EXPECT_FALSE(window->last().explanationLine);
}

// The grid keeps the single column's keys and numbers; only the drawing and the place of
// the explanation change, and a single-row choice wins over a stale grid flag.
TEST_F(CandidateListTest, AGridKeepsTheColumnsKeysAndExplainsUnderTheCells) {
  provideExplanations({{"w1", "meaning"}});
  panel->list.setGrid(true);
  panel->list.setPageSize(5);
  panel->show(words(7), caret);
  EXPECT_EQ(window->last().columns, kGridColumns);
  EXPECT_EQ(numbers(window->last()), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
  panel->pressArrow(ArrowKey::down);
  EXPECT_EQ(panel->list.selection(), 1U);
  ASSERT_TRUE(window->last().explanationLine);
  EXPECT_EQ(window->last().explanationLine->text, "meaning");
  EXPECT_FALSE(window->last().rows[1].explanation);
  panel->pressArrow(ArrowKey::right);
  EXPECT_TRUE(panel->list.explanationVisible());
  EXPECT_EQ(box->frame().minX(), window->frame().maxX() + 6);

  panel->list.setHorizontal(true);
  panel->show(words(3), caret);
  EXPECT_EQ(window->last().columns, 1U);
  EXPECT_TRUE(window->last().horizontal);
}

// The window's content is refilled in place on every redraw: nothing of a longer,
// explained, paged list may linger in a shorter single-row one.
TEST_F(CandidateListTest, ARedrawnPageKeepsNothingOfTheLastOne) {
  provideExplanations({{"w0", "long"}});
  measurer.widths = {{"long", 300}};
  panel->list.setPageSize(5);
  panel->show(words(12), caret);
  ASSERT_TRUE(window->last().rows[0].showsMoreButton);
  panel->list.setHorizontal(true);
  panel->show(words(2), caret);

  auto freshView = std::make_unique<FakeCandidateWindowView>();
  const FakeCandidateWindowView* fresh = freshView.get();
  FloatingCandidatePresenter other(std::move(freshView), std::make_unique<FakeExplanationBoxView>(),
                                   screens, measurer);
  other.show(panel->list, caret);
  EXPECT_EQ(window->last(), fresh->last());
  EXPECT_EQ(window->last().rows.size(), 2U);
}

TEST_F(CandidateListTest, ArrowsMoveAlongTheRowsAndOpenOrCloseAcrossThem) {
  struct Case {
    bool horizontal;
    ArrowKey key;
    bool visibleBefore;
    std::size_t selection;
    bool visibleAfter;
    bool redraws;
  };
  const Case cases[] = {
      {true, ArrowKey::left, false, 4, false, true},
      {true, ArrowKey::right, false, 1, false, true},
      {true, ArrowKey::down, false, 0, true, true},
      {true, ArrowKey::down, true, 0, true, false},
      {true, ArrowKey::up, true, 0, false, true},
      {true, ArrowKey::up, false, 0, false, false},
      {false, ArrowKey::up, false, 4, false, true},
      {false, ArrowKey::down, false, 1, false, true},
      {false, ArrowKey::right, false, 0, true, true},
      {false, ArrowKey::right, true, 0, true, false},
      {false, ArrowKey::left, true, 0, false, true},
      {false, ArrowKey::left, false, 0, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("case " + std::to_string(&c - cases));
    panel->list.setHorizontal(c.horizontal);
    panel->show(words(5), caret);
    panel->list.setExplanationVisible(c.visibleBefore);
    const auto draws = window->displayed.size();
    panel->pressArrow(c.key);
    EXPECT_EQ(panel->list.selection(), c.selection);
    EXPECT_EQ(panel->list.explanationVisible(), c.visibleAfter);
    EXPECT_EQ(window->displayed.size() > draws, c.redraws);
  }
}

TEST_F(CandidateListTest, TheBoxOpensBesideAVerticalPanelAndBelowASingleRow) {
  provideExplanations({{"w0", "full text"}});
  for (const bool horizontal : {false, true}) {
    SCOPED_TRACE(horizontal);
    panel->list.setHorizontal(horizontal);
    panel->list.setExplanationFont({"Serif", 15});
    panel->show(words(3), caret);
    EXPECT_FALSE(box->isVisible());
    panel->pressArrow(horizontal ? ArrowKey::down : ArrowKey::right);
    ASSERT_TRUE(box->isVisible());
    EXPECT_EQ(box->text, "full text");
    EXPECT_EQ(box->font, (Font{"Serif", 15}));
    const Rect w = window->frame();
    if (horizontal) {
      EXPECT_EQ(box->frame().maxY(), w.minY() - 6);
    } else {
      EXPECT_EQ(box->frame().minX(), w.maxX() + 6);
    }
    panel->moveSelection(+1);  // w1 has no explanation
    EXPECT_FALSE(box->isVisible());
    panel->moveSelection(-1);
    EXPECT_TRUE(box->isVisible());
    panel->show(words(3), caret);  // a new list starts without the box
    EXPECT_FALSE(box->isVisible());
    EXPECT_FALSE(panel->list.explanationVisible());
  }
}

TEST_F(CandidateListTest, ClicksReachTheInstalledActionsUntilTheyAreWithdrawn) {
  std::vector<std::size_t> clicked;
  int explanationRequests = 0;
  panel->presenter_->setActions(
      {[&](std::size_t index) { clicked.push_back(index); }, [&] { ++explanationRequests; }});
  panel->show(words(13), caret);
  window->clickCandidate(11);
  window->clickMoreButton();
  EXPECT_EQ(clicked, std::vector<std::size_t>{11});
  EXPECT_EQ(explanationRequests, 1);
  panel->presenter_->setActions({});
  panel->presenter_.reset();
}

TEST_F(CandidateListTest, HidingTakesBothWindowsAway) {
  provideExplanations({{"w0", "text"}});
  panel->show(words(3), caret);
  panel->pressArrow(ArrowKey::right);
  EXPECT_TRUE(box->isVisible());
  panel->hide();
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(box->isVisible());
}

class RecordingDesktopPanel final : public DesktopCandidatePanel {
 public:
  void showPage(const CandidatePage& page) override { pages.push_back(page); }
  void hidePage() override { ++hides; }
  std::vector<CandidatePage> pages;
  int hides = 0;
};

TEST(DesktopPanelPresenterTest, HandsThePageWithItsCursorAndExplanationToTheDesktop) {
  RecordingDesktopPanel desktop;
  Panel panel(std::make_unique<DesktopPanelPresenter>(desktop));
  panel->setPageSize(3);
  panel->setHorizontal(true);
  panel->setExplanationProvider([](std::string_view word) { return "of " + std::string(word); });
  std::vector<std::size_t> clicked;
  panel.presenter_->setActions({[&](std::size_t index) { clicked.push_back(index); }, {}});
  panel.show(words(5), {{0, 0}, {1, 20}});
  EXPECT_TRUE(panel.presenter_->isVisible());
  panel.moveSelection(-1);
  panel.pressArrow(ArrowKey::down);
  const CandidatePage expected{{"w3", "w4"}, {"1", "2"}, 1, true, "2/2", "of w4", true, false};
  EXPECT_EQ(desktop.pages.back(), expected);
  static_cast<DesktopPanelPresenter&>(*panel.presenter_).clickCandidate(0);
  EXPECT_EQ(clicked, std::vector<std::size_t>{3});
  panel.hide();
  panel.hide();
  EXPECT_EQ(desktop.hides, 1);
  EXPECT_FALSE(panel.presenter_->isVisible());
}

TEST(SwitchingCandidatePresenterTest, OnlyThePresenterInUseShowsAndReportsClicks) {
  RecordingDesktopPanel firstDesktop;
  RecordingDesktopPanel secondDesktop;
  DesktopPanelPresenter first(firstDesktop);
  DesktopPanelPresenter second(secondDesktop);
  auto switching = std::make_unique<SwitchingCandidatePresenter>(first);
  SwitchingCandidatePresenter& presenter = *switching;
  Panel panel(std::move(switching));
  std::vector<std::size_t> clicked;
  presenter.setActions({[&](std::size_t index) { clicked.push_back(index); }, {}});
  panel.show(words(3), {{0, 0}, {1, 20}});

  presenter.use(second);
  EXPECT_EQ(firstDesktop.hides, 1);
  EXPECT_FALSE(presenter.isVisible());
  first.clickCandidate(0);
  EXPECT_TRUE(clicked.empty());
  panel.show(words(3), {{0, 0}, {1, 20}});
  second.clickCandidate(2);
  EXPECT_EQ(clicked, std::vector<std::size_t>{2});
  EXPECT_EQ(firstDesktop.pages.size(), 1U);
  EXPECT_EQ(secondDesktop.pages.size(), 1U);
}

}  // namespace
}  // namespace yakdrom
