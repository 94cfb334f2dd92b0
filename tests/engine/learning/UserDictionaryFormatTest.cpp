#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <tuple>

#include "engine/learning/UserDictionaryFormat.h"
#include "engine/text/Text.h"

namespace yakdrom {
namespace {

using Entry = UserDictionaryEntry;

TEST(UserDictionaryFormat, ParseLineFollowsTheReadRules) {
  struct Case {
    const char* line;
    std::optional<Entry> expected;
  };
  const Case cases[] = {
      {"བོད་ 5", Entry{"བོད་", 5}},
      {"བོད་ +5", Entry{"བོད་", 5}},
      {"  བོད་   7\t", Entry{"བོད་", 7}},
      {"བོད་", Entry{"བོད་", 1}},
      {"བོད་ ཡིག་", Entry{"བོད་ ཡིག་", 1}},
      {"བོད་ 0", Entry{"བོད་ 0", 1}},
      {"བོད་ -3", Entry{"བོད་ -3", 1}},
      {"བོད་ +-3", Entry{"བོད་ +-3", 1}},
      {"བོད་ +", Entry{"བོད་ +", 1}},
      {"བོད་ 5x", Entry{"བོད་ 5x", 1}},
      {"བོད་ ５", Entry{"བོད་ ５", 1}},  // only ASCII digits
      {"བོད་\t5", Entry{"བོད་\t5", 1}},
      {"བོད་ 9223372036854775807", Entry{"བོད་", 9223372036854775807}},
      {"བོད་ 9223372036854775808", Entry{"བོད་ 9223372036854775808", 1}},
      {"ཀ\u3000ཁ 2", Entry{"ཀ\u3000ཁ", 2}},
      {"\u0F43 2", Entry{"\u0F42\u0FB7", 2}},  // stored in NFC
      {"\xFF 3", Entry{"\uFFFD", 3}},
      {"\uFEFF \uFEFFཀ 2", Entry{"ཀ", 2}},  // byte-order marks are no part of a word
      {"", std::nullopt},
      {" \t\u3000", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(UserDictionaryFormat::parseLine(c.line), c.expected);
  }
}

TEST(UserDictionaryFormat, CrLfAndByteOrderMarkReadLikePlainLf) {
  const auto lf = UserDictionaryFormat::parseText("ཀ 2\nཁ 3\n\nག\n");
  EXPECT_EQ(UserDictionaryFormat::parseText("\xEF\xBB\xBFཀ 2\r\nཁ 3\r\n\r\nག\r\n"), lf);
  EXPECT_EQ(UserDictionaryFormat::parseText("ཀ 2\nཁ 3\nག"), lf);
  EXPECT_EQ(lf.size(), 3U);
}

TEST(UserDictionaryFormat, RepeatsKeepTheLargerFrequencyAcrossCanonicalSpellings) {
  const UserWords words = UserDictionaryFormat::parseWords("\u0F43 2\n\u0F42\u0FB7 5\n\u0F43 3\n");
  EXPECT_EQ(words, (UserWords{{"\u0F42\u0FB7", 5}}));
}

TEST(UserDictionaryFormat, RenderIsEntryOrderWithAFinalLineFeed) {
  EXPECT_EQ(UserDictionaryFormat::render({}), "");
  const UserWords words{{"ཁ", 4}, {"ཀ", 9}, {"ག", 9}, {"ཀཀ", 1}};
  EXPECT_EQ(UserDictionaryFormat::render(words), "ཀ 9\nག 9\nཁ 4\nཀཀ 1\n");
  EXPECT_EQ(UserDictionaryFormat::entries(words),
            (std::vector<Entry>{{"ཀ", 9}, {"ག", 9}, {"ཁ", 4}, {"ཀཀ", 1}}));
}

TEST(UserDictionaryFormat, RenderedTextReadsBackUnchanged) {
  // Words that hold spaces or numbers must not lose them to the frequency field.
  const UserWords words{{"ཀ 5", 1}, {"ཁ 0", 3}, {"ག\t7", 2}, {"a\u2028b", 1}, {"9", 9}};
  EXPECT_EQ(UserDictionaryFormat::parseWords(UserDictionaryFormat::render(words)), words);
}

TEST(UserDictionaryFormat, TrimWordRemovesWhitespaceAndByteOrderMarksOnly) {
  const std::tuple<const char*, bool, const char*> cases[] = {
      {"བོད་", false, "བོད་"},
      {"ab", false, "ab"},
      {" བོད་\t", false, "བོད་"},
      {"\u3000བོད་\u00A0", false, "བོད་"},
      {"\uFEFFབོད་", false, "བོད་"},
      {"བོད་\n", false, "བོད་\n"},  // a line break is no whitespace here
      {"བོད་\n", true, "བོད་"},
      {"\r\u2028a\u0085", true, "a"},
      {"\xE0\xBD", false, "\xE0\xBD"},  // ill-formed ends are words, not whitespace
      {"a\xE0\xBD\x20", false, "a\xE0\xBD"},
      {" \t", false, ""},
  };
  for (const auto& [text, andNewlines, expected] : cases) {
    SCOPED_TRACE(::testing::PrintToString(std::string(text)) + (andNewlines ? " +newlines" : ""));
    EXPECT_EQ(UserDictionaryFormat::trimWord(text, andNewlines), expected);
  }
}

// The table reader keeps NFC words where they lie and decodes only what it must; it must
// read every text as the line reader does, and tell ill-formed text from well-formed.
TEST(UserDictionaryFormat, TableReaderAgreesWithTheLineReader) {
  const char* const pieces[] = {
      "ཀ",    "ཁ་",       "\u0F43", "\u0F42\u0FB7", "\u0F72\u0F71", "\u0F71\u0F72",
      "a",    " ",        "\t",     "\u3000",       "\uFEFF",       "7",
      "+3",   "-2",       "0",      "\n",           "\r\n",         "\r",
      "\xFF", "\xE0\xBD", "é",      "e\u0301"};
  std::mt19937 rng(17);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    for (unsigned k = 0, n = rng() % 24; k < n; ++k) text += pieces[rng() % std::size(pieces)];
    SCOPED_TRACE(::testing::PrintToString(text));
    std::map<std::string, std::int64_t> expected;
    for (const auto& [word, freq] : UserDictionaryFormat::parseText(text)) {
      auto [it, added] = expected.emplace(word, freq);
      if (!added) it->second = std::max(it->second, freq);
    }
    const ParsedWords parsed =
        UserDictionaryFormat::readWords(std::make_shared<const detail::LargeString>(text));
    std::map<std::string, std::int64_t> got;
    for (const auto& [word, freq] : parsed.words) got.emplace(word, freq);
    ASSERT_EQ(got, expected);
    ASSERT_EQ(parsed.lines, UserDictionaryFormat::parseText(text).size());
    ASSERT_EQ(parsed.wellFormed, text::isWellFormedUtf8(text));
  }
}

}  // namespace
}  // namespace yakdrom
