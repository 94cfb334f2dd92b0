#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTest>

#include "ime/panel/FloatingCandidatePresenter.h"
#include "ui/ApplicationAppearance.h"
#include "ui/CandidateWindow.h"
#include "ui/ExplanationBoxWindow.h"
#include "ui/QtScreens.h"
#include "ui/QtTextMeasurer.h"

namespace yakdrom {
namespace {

CandidateRowContent row(std::size_t index, std::string number, std::string text,
                        bool selected = false) {
  return {index, std::move(number), std::move(text), std::nullopt, false, selected};
}

// A second page of a column: the selected row explains itself and offers "…".
CandidateWindowContent secondPage() {
  CandidateWindowContent content;
  content.font = Font::system(20);
  content.explanationFont = Font::system(12);
  content.rows = {row(10, "1", "\u0F56\u0F40\u0FB2\u0F0B"),
                  row(11, "2", "\u0F56\u0F40\u0FB2\u0F0B\u0F64\u0F72\u0F66\u0F0B", true),
                  row(12, "3", "\u0F56\u0F7C\u0F51\u0F0B")};
  content.rows[1].explanation = "a long explanation of the selected candidate";
  content.rows[1].showsMoreButton = true;
  content.pageLabel = "2/3";
  return content;
}

QPoint centreOf(const QRectF& r) { return r.center().toPoint(); }

class CandidateWindowTest : public ::testing::Test {
 protected:
  void TearDown() override { ApplicationAppearance::apply(AppearancePreference::light); }

  void showAt(const CandidateWindowContent& content, double width) {
    window.display(content);
    window.setContentSize({width, window.fittingSize().height + 14});
    window.orderFront();
  }

  [[nodiscard]] QColor pixelAt(QPointF p) {
    return window.grab().toImage().pixelColor(p.toPoint());
  }

  CandidateWindow window;
};

TEST_F(CandidateWindowTest, DrawsTheRowsNumbersSelectionAndExplanationItIsGiven) {
  showAt(secondPage(), 420);
  const auto& rows = window.layout().rows();
  ASSERT_EQ(rows.size(), 3U);
  EXPECT_EQ(rows[1].number.shaped->layout.text(), "2");
  EXPECT_EQ(rows[1].text.shaped->layout.text().toStdString(),
            "\u0F56\u0F40\u0FB2\u0F0B\u0F64\u0F72\u0F66\u0F0B");
  EXPECT_TRUE(rows[1].isSelected);
  ASSERT_TRUE(rows[1].explanation);
  EXPECT_TRUE(rows[1].moreButton);
  EXPECT_FALSE(rows[0].explanation);
  // One column: rows stacked, each as wide as the window's inside.
  EXPECT_GT(rows[1].background.top(), rows[0].background.bottom());
  EXPECT_EQ(rows[0].background.width(), rows[2].background.width());
  EXPECT_EQ(rows[0].number.baseline - rows[0].background.top(),
            rows[1].text.baseline - rows[1].background.top());
  // The selected row's background is drawn; the others' is the window's.
  const PanelColours& colours = window.colours();
  EXPECT_EQ(pixelAt(rows[1].background.topLeft() + QPointF(3, 3)), colours.selectedRow);
  EXPECT_EQ(pixelAt(rows[0].background.topLeft() + QPointF(3, 3)), colours.background);
}

TEST_F(CandidateWindowTest, FitsItsTextInTheFontsItDrawsWith) {
  CandidateWindowContent content = secondPage();
  window.display(content);
  const Size normal = window.fittingSize();
  content.rows[1].explanation.reset();
  content.rows[1].showsMoreButton = false;
  window.display(content);
  const Size unexplained = window.fittingSize();
  EXPECT_LT(unexplained.width, normal.width);
  content.rows[0].text = std::string(20, 'm');
  window.display(content);
  EXPECT_GT(window.fittingSize().width, unexplained.width);
  content.font.pointSize = 40;
  window.display(content);
  EXPECT_GT(window.fittingSize().height, normal.height + 3 * 15);
  // Squeezed into the widest window, the parts give way and stay inside it.
  content.rows[2].text = std::string(60, 'x');
  window.display(content);
  window.setContentSize({480, 200});
  window.orderFront();
  for (const auto& r : window.layout().rows()) {
    EXPECT_LE(r.background.right(), 480 - 6 + 0.01);
    EXPECT_LE(r.text.left + r.text.width, r.background.right());
  }
}

TEST_F(CandidateWindowTest, ReportsPressesOnRowsAndOnTheMoreButton) {
  std::vector<std::size_t> clicked;
  int explanations = 0;
  window.setActions(
      {[&](std::size_t index) { clicked.push_back(index); }, [&] { ++explanations; }});
  showAt(secondPage(), 420);
  const auto& rows = window.layout().rows();
  QTest::mouseClick(&window, Qt::LeftButton, {}, centreOf(rows[2].background));
  QTest::mouseClick(&window, Qt::LeftButton, {}, centreOf(rows[0].background));
  QTest::mouseClick(&window, Qt::LeftButton, {}, centreOf(*rows[1].moreButton));
  EXPECT_EQ(clicked, (std::vector<std::size_t>{12, 10}));
  EXPECT_EQ(explanations, 1);
  // The explanation line of a single row has a button of its own.
  CandidateWindowContent line = secondPage();
  line.horizontal = true;
  line.rows[1].explanation.reset();
  line.rows[1].showsMoreButton = false;
  line.explanationLine = ExplanationLineContent{"meaning", true};
  showAt(line, 470);
  ASSERT_TRUE(window.layout().lineMoreButton());
  QTest::mouseClick(&window, Qt::LeftButton, {}, centreOf(*window.layout().lineMoreButton()));
  EXPECT_EQ(explanations, 2);
}

TEST_F(CandidateWindowTest, ARowOrAGridLaysTheCellsOutSideBySide) {
  CandidateWindowContent content = secondPage();
  content.rows[1].explanation.reset();
  content.rows[1].showsMoreButton = false;
  content.rows.push_back(row(13, "4", "\u0F40"));
  content.horizontal = true;
  window.display(content);
  const auto rowWidth = window.fittingSize().width;
  showAt(content, rowWidth);
  auto rows = window.layout().rows();
  for (std::size_t i = 1; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].background.top(), rows[0].background.top());
    EXPECT_GT(rows[i].background.left(), rows[i - 1].background.right());
  }
  content.horizontal = false;
  content.columns = kGridColumns;
  content.explanationLine = ExplanationLineContent{"meaning", false};
  window.display(content);
  EXPECT_LT(window.fittingSize().width, rowWidth);
  showAt(content, window.fittingSize().width);
  rows = window.layout().rows();
  EXPECT_EQ(rows[1].background.top(), rows[0].background.top());
  EXPECT_EQ(rows[3].background.left(), rows[0].background.left());
  EXPECT_GT(rows[3].background.top(), rows[0].background.bottom());
  ASSERT_TRUE(window.layout().explanationLine());
  EXPECT_GT(window.layout().explanationLine()->baseline, rows[3].background.bottom());
}

TEST_F(CandidateWindowTest, TakesTheNewColoursWhenTheAppearanceChanges) {
  showAt(secondPage(), 420);
  const QPointF corner = window.layout().rows()[0].background.topLeft() + QPointF(3, 3);
  ApplicationAppearance::apply(AppearancePreference::dark);
  QCoreApplication::processEvents();
  EXPECT_EQ(window.colours().background, QColor(43, 40, 42));
  EXPECT_EQ(pixelAt(corner), QColor(43, 40, 42));
  ApplicationAppearance::apply(AppearancePreference::light);
  QCoreApplication::processEvents();
  EXPECT_EQ(pixelAt(corner), QColor(Qt::white));
}

// The presenter places the real windows through the model's rules; near the screen's
// bottom-right corner they must still land inside the screen.
TEST(CandidateWindowPlacementTest, NearTheEdgesTheWindowsStayOnTheScreen) {
  QtScreens screens;
  QtTextMeasurer measurer;
  auto window = std::make_unique<CandidateWindow>();
  auto box = std::make_unique<ExplanationBoxWindow>();
  const CandidateWindow& shown = *window;
  const ExplanationBoxWindow& shownBox = *box;
  FloatingCandidatePresenter presenter(std::move(window), std::move(box), screens, measurer);
  CandidateList list;
  list.setExplanationProvider([](std::string_view) { return std::string(300, 'x'); });
  list.reset({"\u0F56\u0F40\u0FB2\u0F0B", "\u0F56\u0F7C\u0F51\u0F0B"});
  ASSERT_FALSE(screens.screens().empty());
  const Rect visible = screens.screens().front().visibleFrame;
  presenter.show(list, {{visible.maxX() - 10, visible.minY() + 10}, {2, 20}});
  (void)list.pressArrow(ArrowKey::right);
  presenter.update(list);
  const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
  ASSERT_TRUE(shown.isVisible());
  ASSERT_TRUE(shownBox.isVisible());
  EXPECT_TRUE(available.contains(shown.geometry())) << shown.geometry().x();
  EXPECT_TRUE(available.contains(shownBox.geometry()));
  // Above the caret, since there is no room below it; the box on the window's left.
  EXPECT_LT(shown.geometry().bottom(), available.bottom() - 10 - 20);
  EXPECT_LT(shownBox.geometry().right(), shown.geometry().left());
}

TEST(ExplanationBoxWindowTest, LongerTextOrANarrowerBoxNeedsMoreHeight) {
  ExplanationBoxWindow box;
  box.setText(std::string(40, 'w'), Font::system(12));
  box.setTextWidth(300);
  const double short_ = box.fittingTextHeight();
  std::string words;
  for (int i = 0; i < 80; ++i) words += "word ";
  box.setText(words, Font::system(12));
  const double wide = box.fittingTextHeight();
  box.setTextWidth(150);
  EXPECT_GT(wide, short_);
  EXPECT_GT(box.fittingTextHeight(), wide * 1.5);
  EXPECT_EQ(box.text().toStdString(), words);
}

}  // namespace
}  // namespace yakdrom
