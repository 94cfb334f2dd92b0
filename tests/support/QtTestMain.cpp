// The main of the test programs with windows: one application for all of a program's tests,
// on the offscreen platform unless the run names another (Xvfb, for a real X server).
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "support/FreshHome.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // The windows under test must never reach an input-method framework of the desktop.
  ::setenv("QT_IM_MODULE", "none", 1);
  const yakdrom::testing::FreshHome home;
  if (!home.created()) return EXIT_FAILURE;
  int status = 0;
  {
    const QApplication application(argc, argv);
    status = RUN_ALL_TESTS();
  }
  // Font lookups may keep a cache of the system's fonts in the cache folder.
  return home.verdict(status, {"fontconfig"});
}
