#include <gtest/gtest.h>

#include "engine/lexicon/LexiconTestSupport.h"
#include "engine/lexicon/TibetanDictionary.h"

namespace yakdrom {
namespace {

TEST(TibetanDictionaryTest, KeyFormDropsSurroundingSpaceAndTrailingTshegs) {
  struct Case {
    const char* word;
    const char* key;
  };
  const Case cases[] = {
      {"ཀ་", "ཀ"},
      {"ཀ", "ཀ"},
      {"ཀ་་", "ཀ"},
      {" \tབོད་\u3000", "བོད"},
      {"བོད།", "བོད།"},          // a shad stays
      {"བོད་།", "བོད་།"},        // only trailing tshegs go
      {"བོད་\n", "བོད་\n"},      // line breaks are not whitespace here
      {"\u0F43་", "ག\u0FB7"},  // NFC
      {"་", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.word);
    EXPECT_EQ(TibetanDictionary::normalize(c.word), c.key);
  }
}

TEST(TibetanDictionaryTest, LooksWordsUpByTheirKeyForm) {
  TibetanDictionary d;
  d.install({{"བོད", "ས་ཆ།"}}, {{"བོད", "西藏"}}, {{"ག\u0FB7", "gha"}});
  EXPECT_TRUE(d.isLoaded());
  EXPECT_EQ(d.count(), 1u);
  EXPECT_EQ(d.explanation("བོད་"), "ས་ཆ།");
  EXPECT_EQ(d.explanation(" བོད "), "ས་ཆ།");
  EXPECT_EQ(d.explanation("བོད"), "ས་ཆ།");
  EXPECT_FALSE(d.explanation("བོད།"));
  EXPECT_EQ(d.chineseExplanation("བོད་"), "西藏");
  EXPECT_FALSE(d.englishExplanation("བོད་"));
  EXPECT_EQ(d.englishExplanation("\u0F43་"), "gha");
}

TEST(TibetanDictionaryTest, InstallReplacesEveryMapEvenWithEmptyOnes) {
  TibetanDictionary d;
  d.install({{"ཀ", "bo"}}, {{"ཀ", "zh"}}, {{"ཀ", "en"}});
  d.install({{"ཁ", "bo"}}, {}, {});
  EXPECT_FALSE(d.explanation("ཀ"));
  EXPECT_FALSE(d.chineseExplanation("ཀ"));
  EXPECT_FALSE(d.englishExplanation("ཀ"));
  EXPECT_EQ(d.explanation("ཁ"), "bo");
}

class TibetanDictionaryFileTest : public ::testing::Test {
 protected:
  testing::TempDir dir_;
};

TEST_F(TibetanDictionaryFileTest, LoadReadsExplanationsAndClearsTheOtherLanguages) {
  TibetanDictionary d;
  d.install({}, {{"ཀ", "zh"}}, {{"ཀ", "en"}});
  const auto path = dir_.write("explanations.csv",
                               "word,explanation\n"
                               "ཀ་, གསལ་ བྱེད ,དང་པོ\n"
                               "ཁ་\n"           // no comma
                               " ,ཁ\n"          // no word
                               "ག་,  \n"        // no explanation
                               "ཀ་་,later\n");  // same key: the later line wins
  EXPECT_TRUE(d.load(path));
  EXPECT_EQ(d.count(), 1u);
  EXPECT_EQ(d.explanation("ཀ"), "later");
  EXPECT_FALSE(d.chineseExplanation("ཀ"));
  EXPECT_FALSE(d.englishExplanation("ཀ"));
}

TEST_F(TibetanDictionaryFileTest, FailedLoadsReportFalse) {
  TibetanDictionary d;
  d.install({{"ཀ", "bo"}}, {}, {});
  EXPECT_FALSE(d.load(dir_ / "missing.csv"));
  EXPECT_EQ(d.explanation("ཀ"), "bo") << "an unreadable file changes nothing";
  EXPECT_FALSE(d.load(dir_.write("binary.csv", "word,explanation\nཁ་,x\xFF\n\x80,y\n")));
  EXPECT_EQ(d.explanation("ཀ"), "bo") << "ill-formed UTF-8 changes nothing";
  EXPECT_FALSE(d.explanation("ཁ"));
  EXPECT_FALSE(d.load(dir_.write("explanations.csv", "word,explanation\nཀ་,\n")));
  EXPECT_TRUE(d.isLoaded());
  EXPECT_FALSE(d.explanation("ཀ")) << "a file without explanations installs empty maps";
}

}  // namespace
}  // namespace yakdrom
