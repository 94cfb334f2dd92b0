#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QStyle>
#include <QWidget>

#include "ui/ApplicationAppearance.h"

namespace yakdrom {
namespace {

// Qt delivers a new application palette to open windows from the event loop, so the tests
// that watch windows let it run.
class ApplicationAppearanceTest : public ::testing::Test {
 protected:
  void TearDown() override { ApplicationAppearance::apply(AppearancePreference::system); }
};

// Counts the palette changes a widget is told of.
class PaletteChanges : public QObject {
 public:
  int count = 0;

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::PaletteChange) ++count;
    return false;
  }
};

TEST_F(ApplicationAppearanceTest, LightAndDarkSetTheApplicationPaletteOnFusion) {
  ApplicationAppearance::apply(AppearancePreference::dark);
  EXPECT_EQ(QApplication::style()->name(), "fusion");
  EXPECT_TRUE(ApplicationAppearance::isDark(QApplication::palette()));
  ApplicationAppearance::apply(AppearancePreference::light);
  EXPECT_FALSE(ApplicationAppearance::isDark(QApplication::palette()));
}

TEST_F(ApplicationAppearanceTest, SystemGivesBackTheDesktopsPaletteAfterAFixedOne) {
  ApplicationAppearance::apply(AppearancePreference::system);
  const QColor desktop = QApplication::palette().color(QPalette::Window);
  ApplicationAppearance::apply(AppearancePreference::dark);
  EXPECT_NE(QApplication::palette().color(QPalette::Window), desktop);
  ApplicationAppearance::apply(AppearancePreference::system);
  EXPECT_EQ(QApplication::palette().color(QPalette::Window), desktop);
}

TEST_F(ApplicationAppearanceTest, IsDarkSplitsAtHalfLightness) {
  EXPECT_TRUE(ApplicationAppearance::isDark(QPalette(QColor(127, 127, 127))));
  EXPECT_FALSE(ApplicationAppearance::isDark(QPalette(QColor(128, 128, 128))));
}

TEST_F(ApplicationAppearanceTest, AnOpenWindowAndItsChildrenAreToldOfEachSwitch) {
  ApplicationAppearance::apply(AppearancePreference::light);
  QWidget window;
  auto* child = new QWidget(&window);
  PaletteChanges windowChanges;
  PaletteChanges childChanges;
  window.installEventFilter(&windowChanges);
  child->installEventFilter(&childChanges);
  window.show();

  ApplicationAppearance::apply(AppearancePreference::dark);
  QCoreApplication::processEvents();
  EXPECT_GT(windowChanges.count, 0);
  EXPECT_GT(childChanges.count, 0);
  EXPECT_TRUE(ApplicationAppearance::isDark(child->palette()));

  windowChanges.count = 0;
  ApplicationAppearance::apply(AppearancePreference::light);
  QCoreApplication::processEvents();
  EXPECT_GT(windowChanges.count, 0);
  EXPECT_FALSE(ApplicationAppearance::isDark(window.palette()));
}

}  // namespace
}  // namespace yakdrom
