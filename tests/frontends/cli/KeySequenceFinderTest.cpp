#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "engine/text/Text.h"
#include "frontends/cli/Commands.h"
#include "frontends/cli/KeySequenceFinder.h"
#include "frontends/cli/Typist.h"

namespace yakdrom::cli {
namespace {

// Types a notation from scratch, independently of the finder's own check.
std::string typed(const std::string& notation) {
  const auto parsed = parseKeyNotation(notation);
  EXPECT_FALSE(parsed.error) << notation;
  Typist t;
  for (const auto& k : parsed.keys) t.press(k);
  return t.text();
}

TEST(KeySequenceFinder, FindsTheShortestNaturalSequence) {
  const std::pair<const char*, const char*> cases[] = {
      {"\u0F40", "c"},
      {"\u0F56\u0F40\u0FB2\u0F72\u0F0B", "fcrij"},  // ར under ཀ through the vowel
      {"\u0F56\u0F66\u0F92\u0FB2\u0F74\u0F56\u0F66\u0F0B", "fsmkmrufsj"},  // hand-made stack
      {"\u0F40\u0FB1\u0F72\u0F0B", "cmyij"},                               // ཡ needs the dead key
      {"\u0F66\u0F90\u0FB1\u0F7C\u0F0B", "smcyoj"},  // then ཡ stacks by itself
      {"\u0F62\u0F90\u0F44\u0F0B", "rmcgj"},
      {"\u0F40\u0F62\u0F72", "c{escape}ri"},  // Escape keeps ར from joining ཀ
      {"\u0F40\u0F0B \u0F41\u0F0D", "cj{space}v'"},
      {"\u0F21\u0F22", "12"},
  };
  KeySequenceFinder finder;
  for (const auto& [text, keys] : cases) {
    SCOPED_TRACE(text);
    const auto r = finder.find(text);
    ASSERT_FALSE(r.error) << *r.error;
    EXPECT_EQ(formatKeys(r.keys), keys);
    EXPECT_TRUE(text::canonicallyEqual(typed(formatKeys(r.keys)), text));
  }
}

TEST(KeySequenceFinder, CanonicallyEquivalentTextIsTypedToo) {
  KeySequenceFinder finder;
  // U+0F43 is typed as ག with ྷ; the vowels of ཀཱི arrive in either order.
  for (const char* text : {"\u0F43\u0F0B", "\u0F40\u0F73", "\u0F40\u0F72\u0F71"}) {
    SCOPED_TRACE(text);
    const auto r = finder.find(text);
    ASSERT_FALSE(r.error) << *r.error;
    EXPECT_TRUE(text::canonicallyEqual(typed(formatKeys(r.keys)), text));
  }
}

TEST(KeySequenceFinder, UntypeableTextNamesTheCharacterAndItsPosition) {
  const std::pair<const char*, const char*> cases[] = {
      {"\u0F5A\u0F56\u0F39\u0F0B", "cannot type \"\u0F39\" at character 2"},
      {"\u0F40abc", "cannot type \"a\" at character 2"},
      {"\u0F40\u0F0B\u0F02", "cannot type \"\u0F02\" at character 3"},  // its key types a tsheg
  };
  KeySequenceFinder finder;
  for (const auto& [text, message] : cases) {
    SCOPED_TRACE(text);
    const auto r = finder.find(text);
    ASSERT_TRUE(r.error);
    EXPECT_EQ(*r.error, message);
    EXPECT_TRUE(r.keys.empty());
  }
}

TEST(KeysCommand, PrintsOneLinePerTextAndFailsOnUntypeableText) {
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(runCommandLine({"keys", "\u0F40", "\u0F41\u0F0B"}, out, err), 0);
  EXPECT_EQ(out.str(), "c\nvj\n");
  out.str("");
  EXPECT_EQ(runCommandLine({"keys", "\u0F40", "x", "\u0F41"}, out, err), 1);
  EXPECT_EQ(out.str(), "c\nv\n");
  EXPECT_NE(err.str().find("cannot type \"x\" at character 1"), std::string::npos);
}

std::string repeated(std::string_view text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

TEST(KeysCommand, ErrorsShowTheStartOfTheTextAndCountCharactersOfTheWholeText) {
  // Five user-perceived characters in eight scalars and 24 bytes.
  const std::string word = "\u0F56\u0F66\u0F92\u0FB2\u0F74\u0F56\u0F66\u0F0B";
  const std::pair<std::string, std::string> cases[] = {
      {repeated(word, 9) + "x",
       "\"" + repeated(word, 8) + "\"\u2026: cannot type \"x\" at character 46"},
      {repeated("\u0F40", 39) + "x",
       "\"" + repeated("\u0F40", 39) + "x\": cannot type \"x\" at character 40"},
      {"\u0F40\n\u0F02", "\"\u0F40\\n\u0F02\": cannot type \"\u0F02\" at character 3"},
  };
  for (const auto& [text, message] : cases) {
    SCOPED_TRACE(message);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runCommandLine({"keys", text}, out, err), 1);
    EXPECT_EQ(err.str(), "yakdrom keys: " + message + "\n");
  }
}

bool typeableByLetters(const std::u32string& word) {
  for (char32_t c : word) {
    const bool letter = c >= 0x0F40 && c <= 0x0F6C;
    const bool vowel = (c >= 0x0F71 && c <= 0x0F7D) || c == 0x0F80 || c == 0x0F81;
    const bool subjoined = c >= 0x0F8D && c <= 0x0FBC;
    if (!letter && !vowel && !subjoined && c != 0x0F0B && c != 0x0F0D) return false;
  }
  return true;
}

// Every word of the shipped list, with its tsheg, is typed back exactly; the few that are
// not hold a sign outside letters, vowel signs, subjoined letters and separators.
TEST(KeySequenceFinder, TypesBackEveryWordOfTheWordList) {
  const char* dir = std::getenv("YAKDROM_TEST_DATA");
  ASSERT_NE(dir, nullptr);
  std::ifstream in(std::string(dir) + "/bo-words.txt");
  ASSERT_TRUE(in) << "word list missing";
  KeySequenceFinder finder;
  std::size_t words = 0;
  std::size_t typedBack = 0;
  for (std::string word; std::getline(in, word); ++words) {
    const auto r = finder.find(word);
    if (r.error) {
      EXPECT_FALSE(typeableByLetters(text::decodeUtf8(text::nfd(word))))
          << word << ": " << *r.error;
      continue;
    }
    ASSERT_TRUE(text::canonicallyEqual(typed(formatKeys(r.keys)), word)) << word;
    ++typedBack;
  }
  EXPECT_GT(words, 175000U);
  RecordProperty("words", static_cast<int>(words));
  RecordProperty("typedBack", static_cast<int>(typedBack));
}

}  // namespace
}  // namespace yakdrom::cli
