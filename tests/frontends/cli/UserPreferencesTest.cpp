#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/learning/TemporaryFolder.h"
#include "frontends/cli/UserPreferences.h"

namespace yakdrom::cli {
namespace {

// Built with Qt or without, the pad counts into the one file every Yakdrom program reads.
TEST(UserPreferences, OpensTheSettingsFileUnderXdgConfigHome) {
  const yakdrom::testing::TemporaryFolder folder;
  EXPECT_EXIT(
      {
        ::setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1);
        openUserPreferences()->setInteger("Yakdrom.candidateCount", 5);
        const std::string text = yakdrom::testing::readBytes(folder / "Yakdrom/Yakdrom.ini");
        std::exit(text == "[General]\nYakdrom.candidateCount=5\n" ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace yakdrom::cli
