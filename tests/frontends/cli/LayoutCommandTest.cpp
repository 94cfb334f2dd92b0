#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "engine/learning/TemporaryFolder.h"
#include "engine/text/Text.h"
#include "frontends/CommandRun.h"
#include "ime/help/KeyboardChartSvg.h"

namespace yakdrom::cli {
namespace {

using testing::run;
using yakdrom::testing::readBytes;
using yakdrom::testing::writeBytes;

// The chart as committed: a change in the key tables changes it, and the snapshot shows what
// changed. Regenerate with `NO_COLOR=1 yakdrom layout > tests/frontends/cli/data/...`.
TEST(LayoutCommand, PrintsTheChartsWithinOneHundredColumns) {
  const auto outcome = run({"layout"});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.err, "");
  EXPECT_EQ(outcome.out, readBytes(YAKDROM_LAYOUT_SNAPSHOT));
  std::istringstream lines(outcome.out);
  for (std::string line; std::getline(lines, line);) {
    EXPECT_LE(text::characterCount(line), 100U) << line;
  }
}

TEST(LayoutCommand, WritesTheSvgTheReadmeShows) {
  const yakdrom::testing::TemporaryFolder folder;
  const auto file = (folder / "layout.svg").string();
  const auto outcome = run({"layout", "--svg", file});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(readBytes(file), KeyboardChartSvg::render());
  // Regenerate with `yakdrom layout --svg docs/images/layout.svg` when the tables change.
  EXPECT_EQ(readBytes(YAKDROM_README_CHART), KeyboardChartSvg::render());

  writeBytes(folder / "blocker", "");
  const auto blocked = run({"layout", "--svg", (folder / "blocker" / "layout.svg").string()});
  EXPECT_EQ(blocked.status, 1);
  EXPECT_NE(blocked.err.find("yakdrom layout: cannot"), std::string::npos) << blocked.err;
  EXPECT_EQ(run({"layout", "--png"}).status, 2);
}

}  // namespace
}  // namespace yakdrom::cli
