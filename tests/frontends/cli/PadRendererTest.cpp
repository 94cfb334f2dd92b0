#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "frontends/cli/PadRenderer.h"

namespace yakdrom::cli {
namespace {

using Lines = std::vector<std::string>;

// The lines as a terminal capture shows them: without the attribute codes.
Lines plain(const Lines& lines) {
  static const std::regex codes("\x1b\\[[0-9;?]*[A-Za-z]");
  Lines out;
  for (const auto& line : lines) out.push_back(std::regex_replace(line, codes, ""));
  return out;
}

CandidateRowContent row(std::size_t index, std::string text, bool selected = false,
                        std::optional<std::string> explanation = std::nullopt, bool more = false) {
  return {index,   std::to_string(index % 5 + 1), std::move(text), std::move(explanation), more,
          selected};
}

PadView padWith(CandidateView window, std::size_t width = 40) {
  window.visible = true;
  return {"Yakdrom pad", "", "བོད", std::move(window), width, 24};
}

TEST(PadRenderer, UnderlinesTheMarkedTextAndDrawsTheCaretAfterIt) {
  const Lines lines = renderPad({"Yakdrom pad", "ཀ་", "ཁ", {}, 40, 10});
  EXPECT_EQ(lines, (Lines{"Yakdrom pad", "", "ཀ་\x1b[4mཁ\x1b[24m\x1b[7m \x1b[27m"}));
}

TEST(PadRenderer, LaysTheDocumentOutInTheTerminalWidth) {
  struct Case {
    const char* what;
    std::string document;
    std::size_t width, height;
    Lines body;  // the lines below the header and its blank line
  };
  const std::vector<Case> cases = {
      {"line breaks", "ab\ncd\n", 20, 10, {"ab", "cd", " "}},
      {"a line one column short of the width",
       "abcdefghijklmnopqrst",
       20,
       10,
       {"abcdefghijklmnopqrs", "t "}},
      {"tabs to the next stop of eight", "a\tb", 20, 10, {"a       b "}},
      {"a Tibetan stack takes one column",
       "བསྒྲུབས་ཀཀཀཀཀཀཀཀཀཀཀཀཀཀཀ",
       20,
       10,
       {"བསྒྲུབས་ཀཀཀཀཀཀཀཀཀཀཀཀཀཀ", "ཀ "}},
      {"wide characters take two", "西藏西藏西藏西藏西藏", 20, 10, {"西藏西藏西藏西藏西", "藏 "}},
      {"the end of a long document", "1\n2\n3\n4\n5\n6\n7", 20, 6, {"4", "5", "6", "7 "}},
      {"a control character shows as a space", std::string("a\x07z"), 20, 10, {"a z "}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Lines lines = plain(renderPad({"Yakdrom pad", c.document, "", {}, c.width, c.height}));
    ASSERT_GE(lines.size(), 2U);
    EXPECT_EQ(Lines(lines.begin() + 2, lines.end()), c.body);
  }
}

TEST(PadRenderer, ShowsTheWindowInItsPanelStyle) {
  CandidateView column;
  column.content.rows = {row(0, "བོད་"), row(1, "བོད་པ་", true, "Tibetan person"), row(2, "བོད་ཡིག་")};
  column.content.pageLabel = "1/3";
  EXPECT_EQ(plain(renderPad(padWith(column))),
            (Lines{"Yakdrom pad", "", "བོད ", "", "  1. བོད་", "> 2. བོད་པ་  Tibetan person",
                   "  3. བོད་ཡིག་", "                       1/3"}));

  CandidateView grid = column;
  grid.style = CandidatePanelStyle::grid;
  grid.content.rows.push_back(row(3, "བོད་མི་"));
  EXPECT_EQ(plain(renderPad(padWith(grid, 30))),
            (Lines{"Yakdrom pad", "", "བོད ", "", "  1. བོད་     > 2. བོད་པ་",
                   "  3. བོད་ཡིག་    4. བོད་མི་", "  Tibetan person", "                    1/3"}));

  CandidateView row1;
  row1.style = CandidatePanelStyle::singleRow;
  row1.content.horizontal = true;
  row1.content.rows = {row(0, "བོད་", true), row(1, "བོད་པ་"), row(2, "བོད་ཡིག་")};
  row1.content.explanationLine = ExplanationLineContent{"Tibet", false};
  EXPECT_EQ(plain(renderPad(padWith(row1, 30))),
            (Lines{"Yakdrom pad", "", "བོད ", "", "> 1. བོད་  2. བོད་པ་  3. བོད་ཡིག་", "  Tibet"}));
  // Rows that do not fit the width go on the next line.
  EXPECT_EQ(plain(renderPad(padWith(row1, 24))),
            (Lines{"Yakdrom pad", "", "བོད ", "", "> 1. བོད་  2. བོད་པ་", "  3. བོད་ཡིག་", "  Tibet"}));
}

TEST(PadRenderer, MarksTheSelectionAndCutsLongExplanations) {
  CandidateView window;
  window.content.rows = {row(0, "བོད་", true, "西藏自治区首府拉萨市", true)};
  const Lines lines = renderPad(padWith(window, 20));
  EXPECT_EQ(lines.back(), "> \x1b[7m1. བོད་\x1b[27m  西藏自治…");
  // The "…" of the window's button follows an explanation that fits the terminal.
  window.content.rows[0].explanation = "Tibet";
  EXPECT_EQ(plain(renderPad(padWith(window, 20))).back(), "> 1. བོད་  Tibet …");
}

TEST(PadRenderer, CutsAndWrapsVeryLongTextExactly) {
  std::string text;
  for (std::size_t i = 0; i < 100'000; ++i) text += static_cast<char>('a' + i % 26);
  CandidateView window;
  window.content.rows = {row(0, "བོད་", true, text)};
  window.explanationBox = text;
  PadView view = padWith(window, 40);
  // The header, the document and the row with their blank lines, then the box in lines of
  // 36 columns: 2,777 full ones and one of the 28 letters left over.
  view.height = 5 + 2'778;
  const Lines lines = plain(renderPad(view));
  ASSERT_EQ(lines.size(), view.height);
  EXPECT_EQ(lines[4], "> 1. བོད་  " + text.substr(0, 29) + "…");
  EXPECT_EQ(lines[5], "  | " + text.substr(0, 36));
  EXPECT_EQ(lines.back(), "  | " + text.substr(100'000 - 28));
}

TEST(PadRenderer, ShowsTheOpenExplanationBoxWrapped) {
  CandidateView window;
  window.content.rows = {row(0, "བོད་", true)};
  window.explanationBox = "Tibet, the high plateau north of the Himalaya";
  EXPECT_EQ(plain(renderPad(padWith(window, 24))),
            (Lines{"Yakdrom pad", "", "བོད ", "", "> 1. བོད་", "  | Tibet, the high plat",
                   "  | eau north of the Him", "  | alaya"}));
}

TEST(PadRenderer, AHiddenWindowDrawsNothingAndASmallTerminalKeepsTheCaretLine) {
  CandidateView hidden;
  hidden.content.rows = {row(0, "བོད་", true)};
  EXPECT_EQ(plain(renderPad({"Yakdrom pad", "", "བོད", hidden, 40, 24})),
            (Lines{"Yakdrom pad", "", "བོད "}));
  CandidateView shown = hidden;
  shown.visible = true;
  shown.content.rows = {row(0, "ཀ", true), row(1, "ཁ"), row(2, "ག"), row(3, "ང")};
  const Lines small = plain(renderPad({"Yakdrom pad", "1\n2\n3", "", shown, 40, 6}));
  EXPECT_EQ(small, (Lines{"Yakdrom pad", "", "3 ", "", "> 1. ཀ", "  2. ཁ"}));
}

TEST(PadRenderer, AsksForRoomInATerminalBelowTheMinimum) {
  struct Case {
    std::size_t width, height;
    Lines lines;
  };
  const std::vector<Case> cases = {
      {19, 24, {"Make it at least 2…"}},
      {80, 5, {"Make it at least 20×6"}},
      {12, 3, {"Make it at …"}},
      {20, 6, {"Yakdrom pad", "", "ཀ "}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    PadView view{"Yakdrom pad", "ཀ", "", {}, c.width, c.height};
    view.tooSmall = "Make it at least 20×6";
    EXPECT_EQ(plain(renderPad(view)), c.lines);
  }
}

TEST(PadRenderer, HelpTakesThePlaceOfTheTextAndTheCandidatesWithinTheTerminal) {
  CandidateView window;
  window.content.rows = {row(0, "ཀ", true)};
  PadView view = padWith(window, 20);
  view.height = kMinPadHeight;
  view.help = {"Keys of the pad:", "  1–9  confirm the candidate with that number", "", "a", "b",
               "more than fits"};
  EXPECT_EQ(plain(renderPad(view)),
            (Lines{"Yakdrom pad", "Keys of the pad:", "  1–9  confirm the …", "", "a", "b"}));
}

TEST(PadRenderer, ShowsTheNoticeBelowTheHeader) {
  PadView view{"Yakdrom pad", "ཀ", "", {}, 20, 10};
  view.notice = "Kept in /tmp/a-long-folder/pad.txt";
  EXPECT_EQ(plain(renderPad(view)), (Lines{"Yakdrom pad", "Kept in /tmp/a-long…", "ཀ "}));
}

}  // namespace
}  // namespace yakdrom::cli
