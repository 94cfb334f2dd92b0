#include <gtest/gtest.h>

#include <random>
#include <string>

#include "engine/text/GraphemeBreaker.h"
#include "engine/text/Text.h"

namespace yakdrom::text::detail {
namespace {

std::string scalar(char32_t c) {
  std::string s;
  appendUtf8(s, c);
  return s;
}

// The table path must give ICU's boundaries for every pair of Tibetan or ASCII scalars.
TEST(GraphemeBreaker, FastPathAgreesWithIcuOnEveryTibetanPair) {
  std::u32string alphabet;
  for (char32_t c = 0x0F00; c <= 0x0FFF; ++c) alphabet.push_back(c);
  alphabet += U"a ~";
  for (char32_t a : alphabet) {
    for (char32_t b : alphabet) {
      const std::string s = scalar(a) + scalar(b);
      ASSERT_EQ(GraphemeBreaker::boundaries(s), GraphemeBreaker::icuBoundaries(s))
          << std::hex << static_cast<unsigned>(a) << " " << static_cast<unsigned>(b);
    }
  }
}

TEST(GraphemeBreaker, FastPathAgreesWithIcuOnRandomTibetanRuns) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> pick(0x0F00, 0x0FFF);
  std::vector<std::size_t> reused;
  for (int round = 0; round < 2000; ++round) {
    std::string s;
    for (int k = 0; k < 8; ++k) s += scalar(static_cast<char32_t>(pick(rng)));
    const auto fast = GraphemeBreaker::boundaries(s);
    ASSERT_EQ(fast, GraphemeBreaker::icuBoundaries(s)) << s;
    ASSERT_EQ(GraphemeBreaker::count(s), fast.size() - 1) << s;
    GraphemeBreaker::boundariesInto(s, reused);
    ASSERT_EQ(reused, fast) << s;
    for (std::size_t off = 0; off <= s.size(); ++off) {
      const bool expected = std::find(fast.begin(), fast.end(), off) != fast.end();
      if ((off < s.size() && (static_cast<unsigned char>(s[off]) & 0xC0) == 0x80)) continue;
      ASSERT_EQ(GraphemeBreaker::isBoundary(s, off), expected) << s << " @" << off;
    }
  }
}

TEST(GraphemeBreaker, TextOutsideTheFastPathUsesIcu) {
  const std::string s = "\u1100\u1161\u11A8x\r\n";  // a Hangul syllable, then CR LF
  EXPECT_EQ(GraphemeBreaker::boundaries(s), GraphemeBreaker::icuBoundaries(s));
  EXPECT_EQ(GraphemeBreaker::boundaries(s).size(), 4U);
  EXPECT_EQ(GraphemeBreaker::count(s), 3U);
  EXPECT_EQ(GraphemeBreaker::count("x\u0F71\u0301"), 1U);  // ICU decides from the start
  EXPECT_EQ(GraphemeBreaker::boundaries(""), std::vector<std::size_t>{0});
}

}  // namespace
}  // namespace yakdrom::text::detail
