#include <gtest/gtest.h>

#include <sstream>

#include "frontends/cli/Commands.h"

namespace yakdrom::cli {
namespace {

struct Run {
  int status;
  std::string out;
  std::string err;
};

Run run(const Args& args) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = runCommandLine(args, out, err);
  return {status, out.str(), err.str()};
}

TEST(TypeCommand, PrintsTheDocumentFollowedByTheMarkedText) {
  const auto r = run({"type", "fcmrjxisjfdejleks'"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "\u0F56\u0F40\u0FB2\u0F0B\u0F64\u0F72\u0F66\u0F0B\u0F56\u0F51\u0F7A\u0F0B"
            "\u0F63\u0F7A\u0F42\u0F66\u0F0D\n");
  EXPECT_EQ(run({"type", "fc", "mr"}).out, run({"type", "fcmr"}).out);  // arguments concatenate
}

TEST(TypeCommand, JsonSeparatesDocumentAndMarkedText) {
  const auto r = run({"type", "--json", "cj\"c"});
  EXPECT_EQ(r.status, 0);
  // The separator keys act the same with Shift: Shift+' is a shad, not the sign on its face.
  EXPECT_EQ(r.out, "{\"document\": \"\u0F40\u0F0B\u0F0D\", \"marked\": \"\u0F40\"}\n");
  EXPECT_EQ(run({"type", "--json", "c{return}{tab}"}).out,
            "{\"document\": \"\u0F40\\n\\t\", \"marked\": \"\"}\n");
}

TEST(TypeCommand, TraceShowsEveryKeyAndTheEngineOutput) {
  const auto r = run({"type", "--trace", "cc{space}{escape}"});
  EXPECT_EQ(r.out,
            "c\tmarked \"\u0F40\"\n"
            "c\tcommitThenMark \"\u0F40\" \"\u0F40\"\n"
            "{space}\tcommitThenPassthrough \"\u0F40\"\n"
            "{escape}\tpassthrough\n"
            "\u0F40\u0F40 \n");
}

TEST(TypeCommand, PassedThroughKeysActOnTheField) {
  // Delete on an empty syllable reaches the field and removes a whole character.
  EXPECT_EQ(run({"type", "cij{delete}"}).out, "\u0F40\u0F72\n");
  EXPECT_EQ(run({"type", "cij{delete}{delete}"}).out, "\n");
  // A Control chord never reaches the engine and leaves the marked syllable alone.
  EXPECT_EQ(run({"type", "--json", "c{ctrl+c}i"}).out,
            "{\"document\": \"\", \"marked\": \"\u0F40\u0F72\"}\n");
  EXPECT_EQ(run({"type", "c{left}"}).out, "\u0F40\n");
}

TEST(TypeCommand, BadKeysFailWithStatusTwoAndNothingOnStdout) {
  for (const char* keys : {"ab{nope}", "{opt+m", "x\u00E9"}) {
    SCOPED_TRACE(keys);
    const auto r = run({"type", "--json", keys});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("position"), std::string::npos);
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1);  // one line
  }
}

TEST(CommandLine, UnknownCommandPrintsUsage) {
  const auto r = run({"frobnicate"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("usage"), std::string::npos);
  EXPECT_EQ(run({}).status, 2);
}

}  // namespace
}  // namespace yakdrom::cli
