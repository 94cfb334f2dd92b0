// The main of every test program without windows.
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/FreshHome.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const yakdrom::testing::FreshHome home;
  if (!home.created()) return EXIT_FAILURE;
  return home.verdict(RUN_ALL_TESTS());
}
