#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "YakdromVersion.h"
#include "ui/DesktopProgram.h"

namespace yakdrom {
namespace {

TEST(DesktopProgramTest, AnswersHelpAndVersionAndLeavesOtherArgumentsToQt) {
  struct Case {
    std::vector<const char*> argv;
    std::optional<int> status;
    std::string out;
  };
  const Case cases[] = {
      {{"yakdrom-pad", "--help"}, 0, "usage\n"},
      {{"yakdrom-pad", "-platform", "xcb", "-h"}, 0, "usage\n"},
      {{"yakdrom-pad", "--version"}, 0, "yakdrom-pad " + std::string(kYakdromVersion) + "\n"},
      {{"yakdrom-pad", "-platform", "offscreen"}, std::nullopt, ""},
      {{"yakdrom-pad"}, std::nullopt, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.argv.back());
    std::ostringstream out;
    EXPECT_EQ(DesktopProgram::answer(static_cast<int>(c.argv.size()), c.argv.data(), "yakdrom-pad",
                                     "usage\n", out),
              c.status);
    EXPECT_EQ(out.str(), c.out);
  }
}

}  // namespace
}  // namespace yakdrom
