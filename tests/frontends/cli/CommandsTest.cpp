#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <string_view>

#include "YakdromVersion.h"
#include "engine/lexicon/LexiconTestSupport.h"
#include "frontends/CommandRun.h"

namespace yakdrom::cli::testing {
namespace {

constexpr auto npos = std::string::npos;
constexpr std::string_view kTryHelp = "Try 'yakdrom --help' for more information.\n";
constexpr std::size_t kColumns = 80;

std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

TEST(CommandLineHelp, HelpOptionsPrintEveryCommandsUsageToStdout) {
  for (const Args& args : {Args{"--help"}, Args{"-h"}, Args{"help"}}) {
    SCOPED_TRACE(args[0]);
    const Outcome r = run(args);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    for (const auto& c : commands()) {
      EXPECT_NE(r.out.find(std::string("  yakdrom ") + c.usage + "\n"), npos) << c.name;
    }
    EXPECT_NE(r.out.find("--set KEY=VALUE"), npos) << r.out;
    EXPECT_NE(r.out.find("'yakdrom help COMMAND'"), npos) << r.out;
    EXPECT_NE(r.out.find("'yakdrom --version'"), npos) << r.out;
  }
}

TEST(CommandLineHelp, AskingACommandForHelpPrintsItInsteadOfRunningIt) {
  const Outcome help = run({"help", "type"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.err, "");
  EXPECT_EQ(firstLine(help.out),
            "usage: yakdrom type [--json] [--trace] [SESSION OPTIONS] KEYS...");
  // The session options are described below the command's own.
  EXPECT_LT(help.out.find("--trace "), help.out.find("--user-dictionary FILE "));
  // Run, `type` would look for a lexicon that the tests do not have and fail.
  for (const Args& args : {Args{"type", "--help"}, Args{"type", "-h"}, Args{"type", "-h", "fod"}}) {
    SCOPED_TRACE(::testing::PrintToString(args));
    const Outcome r = run(args);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, help.out);
    EXPECT_EQ(r.err, "");
  }
}

TEST(CommandLineHelp, UsageErrorsGoToStderrAndEndPointingToHelp) {
  for (const Args& args : {Args{}, Args{"frobnicate"}, Args{"--frobnicate"}, Args{"help", "nosuch"},
                           Args{"help", "type", "pad"}}) {
    SCOPED_TRACE(::testing::PrintToString(args));
    const Outcome r = run(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("usage:\n  yakdrom type "), npos) << r.err;
    EXPECT_TRUE(r.err.ends_with(kTryHelp)) << r.err;
    if (!args.empty()) {
      EXPECT_NE(r.err.find(args.back()), npos) << r.err;
    }
  }
}

TEST(CommandLineHelp, VersionIsTheProjectVersion) {
  const Outcome r = run({"--version"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "yakdrom " + std::string(kYakdromVersion) + "\n");
  EXPECT_EQ(r.err, "");
}

TEST(CommandLineHelp, EveryCommandIsDescribedBelowItsUsageInEightyColumns) {
  for (const auto& c : commands()) {
    SCOPED_TRACE(c.name);
    ASSERT_NE(c.help, nullptr);
    const std::string_view help = c.help;
    EXPECT_TRUE(std::string_view(c.usage).starts_with(std::string(c.name) + " ")) << c.usage;
    EXPECT_TRUE(help.size() > 1 && help.ends_with("\n")) << help;
    const Outcome r = run({"help", c.name});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(firstLine(r.out), std::string("usage: yakdrom ") + c.usage);
    EXPECT_NE(r.out.find(help), npos);
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), kColumns) << line;
  }
}

TEST(CommandLineHelp, TheManualPageHasAnEntryForEveryCommand) {
  const std::string page = yakdrom::testing::readAll(YAKDROM_MANUAL_PAGE);
  ASSERT_NE(page.find(".SH COMMANDS"), npos);
  for (const auto& c : commands()) {
    EXPECT_NE(page.find(std::string(".TP\n\\fB") + c.name + "\\fR"), npos) << c.name;
  }
}

}  // namespace
}  // namespace yakdrom::cli::testing
