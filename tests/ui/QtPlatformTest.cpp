#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <filesystem>

#include "engine/learning/TemporaryFolder.h"
#include "ui/QtFontSystem.h"
#include "ui/QtScreens.h"
#include "ui/QtTextMeasurer.h"
#include "ui/ScreenCoordinates.h"

namespace yakdrom {
namespace {

struct ScreenCase {
  const char* name;
  std::vector<std::pair<QRect, QRect>> qt;
  double primaryHeight;
  std::vector<Screen> model;
};

// In the model the primary screen starts at the origin; a screen above the primary has its
// bottom at the primary's height, and one reaching lower than the primary goes below zero.
TEST(QtScreensTest, ConvertsEveryScreenAgainstThePrimaryHeight) {
  const std::vector<ScreenCase> cases = {
      {"a top panel, and a shorter screen on the right",
       {{QRect(0, 0, 1920, 1080), QRect(0, 27, 1920, 1053)},
        {QRect(1920, 0, 1280, 1024), QRect(1920, 0, 1280, 1024)}},
       1080,
       {{{{0, 0}, {1920, 1080}}, {{0, 0}, {1920, 1053}}},
        {{{1920, 56}, {1280, 1024}}, {{1920, 56}, {1280, 1024}}}}},
      {"a bottom dock, a screen left of and above the primary, one lower on the right",
       {{QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1040)},
        {QRect(-1600, -900, 1600, 900), QRect(-1600, -870, 1600, 870)},
        {QRect(1920, 500, 1024, 768), QRect(1920, 500, 1024, 768)}},
       1080,
       {{{{0, 0}, {1920, 1080}}, {{0, 40}, {1920, 1040}}},
        {{{-1600, 1080}, {1600, 900}}, {{-1600, 1080}, {1600, 870}}},
        {{{1920, -188}, {1024, 768}}, {{1920, -188}, {1024, 768}}}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(QtScreens::fromQt(c.qt, c.primaryHeight), c.model);
  }
}

TEST(QtScreensTest, CaretRectanglesAndPointsComeBackUnchanged) {
  const ScreenCoordinates coordinates(1080);
  const QRectF onPrimary(100, 200, 2, 18);
  const QRectF aboveAndLeft(-500, -300, 2, 18);
  EXPECT_EQ(coordinates.toModel(onPrimary), (Rect{{100, 862}, {2, 18}}));
  EXPECT_EQ(coordinates.toModel(aboveAndLeft), (Rect{{-500, 1362}, {2, 18}}));
  EXPECT_EQ(coordinates.toQt(coordinates.toModel(onPrimary)), onPrimary);
  EXPECT_EQ(coordinates.toQt(coordinates.toModel(aboveAndLeft)), aboveAndLeft);
  EXPECT_EQ(coordinates.toModel(QPointF(-500, -300)), (Point{-500, 1380}));
  EXPECT_EQ(coordinates.toQt(Point{-500, 1380}), QPointF(-500, -300));
}

TEST(QtScreensTest, ReadsTheApplicationsScreensAndPointer) {
  const QtScreens screens;
  const QScreen* primary = QGuiApplication::primaryScreen();
  ASSERT_NE(primary, nullptr);
  ASSERT_EQ(screens.screens().size(), QGuiApplication::screens().size());
  EXPECT_EQ(screens.screens().front().frame.origin, (Point{0, 0}));
  EXPECT_EQ(screens.screens().front().frame.size.height, primary->geometry().height());
  EXPECT_EQ(screens.mainScreen(), screens.screens().front());

  QCursor::setPos(10, 20);
  EXPECT_EQ(screens.mouseLocation(), (Point{10, primary->geometry().height() - 20.0}));
}

TEST(QtFontSystemTest, KnowsInstalledFamiliesOnly) {
  const QtFontSystem fonts;
  const std::string family = QApplication::font().family().toStdString();
  ASSERT_FALSE(family.empty());
  EXPECT_EQ(fonts.font(family, 14), (Font{family, 14}));
  EXPECT_EQ(fonts.font("Yakdrom No Such Family", 14), std::nullopt);
  EXPECT_EQ(fonts.systemFont(11), Font::system(11));
}

TEST(QtFontSystemTest, RegisteringFailsWithAReasonForMissingAndBrokenFiles) {
  QtFontSystem fonts;
  const testing::TemporaryFolder folder;
  const FontRegistration missing = fonts.registerFontFile(folder / "missing.ttf");
  EXPECT_FALSE(missing.succeeded);
  EXPECT_FALSE(missing.error.empty());

  testing::writeBytes(folder / "broken.ttf", "not a font");
  const FontRegistration broken = fonts.registerFontFile(folder / "broken.ttf");
  EXPECT_FALSE(broken.succeeded);
  EXPECT_FALSE(broken.error.empty());
}

// The PostScript name is no family name, so only the face names read at registration find
// the family.
TEST(QtFontSystemTest, ARegisteredFileIsFoundByItsFaceName) {
  const std::filesystem::path file = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
  if (!std::filesystem::exists(file)) GTEST_SKIP() << "needs " << file;
  QtFontSystem fonts;
  EXPECT_EQ(fonts.font("DejaVuSansMono", 13), std::nullopt);
  EXPECT_TRUE(fonts.registerFontFile(file).succeeded);
  EXPECT_TRUE(fonts.registerFontFile(file).succeeded);
  EXPECT_EQ(fonts.font("DejaVuSansMono", 13), (Font{"DejaVu Sans Mono", 13}));
}

TEST(QtTextMeasurerTest, WidthGrowsWithTheTextAndTheSizeAndEachSizeKeepsItsOwn) {
  const QtTextMeasurer measurer;
  const Font small = Font::system(12);
  const Font large = Font::system(24);
  const double shortWidth = measurer.singleLineWidth("abc", small);
  EXPECT_GT(shortWidth, 0);
  EXPECT_GT(measurer.singleLineWidth("abcdef", small), shortWidth);
  EXPECT_GT(measurer.singleLineWidth("abc", large), shortWidth);
  EXPECT_EQ(measurer.singleLineWidth("abc", small), shortWidth);
}

}  // namespace
}  // namespace yakdrom
