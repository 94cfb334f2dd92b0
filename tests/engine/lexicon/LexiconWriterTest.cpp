#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>

#include "engine/lexicon/LexiconBuilder.h"
#include "engine/lexicon/LexiconTestSupport.h"
#include "engine/lexicon/LexiconWriter.h"
#include "engine/text/Text.h"

namespace yakdrom {
namespace {

using Result = DictionaryLoader::Result;

Result sampleContent() {
  return {{"ཀ་", "ཀ་བ་", "ཁ་", "ག\u0FB7་"},
          {{"ཀ", "གསལ་བྱེད་ དང་པོ།"}, {"ཁ", "ཁ་ ཡི་\nགེ"}, {"ཟ", "unused"}},
          {{"ཀ་བ", "柱子"}},
          {{"ཁ", "mouth"}, {"ག\u0FB7", "gha, the letter"}}};
}

TEST(LexiconWriterTest, PackedBytesParseBackToTheSameContent) {
  const auto content = sampleContent();
  const auto packed = LexiconWriter::pack(content);
  ASSERT_TRUE(packed);
  EXPECT_EQ(DictionaryLoader::parseBinary(*packed), content);
  EXPECT_EQ(LexiconWriter::pack(content), packed) << "equal content gives equal bytes";
}

TEST(LexiconWriterTest, CsvCarriesWordsAndTibetanExplanationsAsTheLoaderReadsThem) {
  const auto content = sampleContent();
  const auto csv = LexiconWriter::toCSV(content);
  ASSERT_TRUE(csv);
  const auto parsed = DictionaryLoader::parseCSV(*csv);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->words, content.words);
  // Whitespace and line breaks cannot survive the text form; a key without a word has no
  // line.
  EXPECT_EQ(parsed->explanations, (ExplanationMap{{"ཀ", "གསལ་བྱེད་དང་པོ།"}, {"ཁ", "ཁ་ཡི་གེ"}}));
}

TEST(LexiconWriterTest, CsvRefusesWordsItCannotHold) {
  for (const std::string word : {"ཀ,ཁ་", "ཀ\nཁ་", " ཀ་", ""}) {
    SCOPED_TRACE(word);
    EXPECT_FALSE(LexiconWriter::toCSV(Result{{"ཀ་", word}, {}, {}, {}}));
  }
}

class LexiconWriterFileTest : public ::testing::Test {
 protected:
  testing::TempDir dir_;
};

TEST_F(LexiconWriterFileTest, WrittenFilesLoadBackInBothForms) {
  const auto content = sampleContent();
  for (const char* name : {"lex.dat", "tbtotb.csv"}) {
    SCOPED_TRACE(name);
    const auto path = dir_ / name;
    const auto bytes = LexiconWriter::encode(content, LexiconWriter::formFor(path));
    ASSERT_TRUE(bytes);
    ASSERT_TRUE(LexiconWriter::write(path, *bytes).ok());
    const auto loaded = DictionaryLoader::load(path);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded.value().words, content.words);
    EXPECT_EQ(DictionaryLoader::formOf(path), LexiconWriter::formFor(path));
  }
  const auto packed = DictionaryLoader::load(dir_ / "lex.dat");
  ASSERT_TRUE(packed);
  EXPECT_EQ(packed.value(), content);
}

TEST_F(LexiconWriterFileTest, WriteReplacesAFileWholeAndLeavesNothingElse) {
  const auto path = dir_.write("lex.csv", "old content that is longer than the new one");
  const auto written = LexiconWriter::write(path, "new");
  ASSERT_TRUE(written.ok());
  EXPECT_EQ(written.value(), 3u);
  EXPECT_EQ(testing::readAll(path), "new");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 1);
}

// The shipped sources through builder, writer and loader, as the build makes lex.dat. The
// source list is sorted by code point before NFC; the built list must follow the lexicon
// order, which the text layer defines independently of the builder's byte sort.
TEST_F(LexiconWriterFileTest, ShippedLexiconBuildsInLexiconOrderAndSurvivesTheRoundTrip) {
  LexiconBuilder builder;
  const auto english = testing::testDataDir() / "bo-explanations-en.tsv";
  ASSERT_TRUE(builder.addWordFile(testing::testDataDir() / "bo-words.txt").ok());
  ASSERT_TRUE(builder.addExplanationFile(LexiconBuilder::Language::english, english).ok());
  EXPECT_TRUE(builder.issues().empty());
  const auto content = builder.build();
  EXPECT_GE(content.words.size(), 175000u);
  EXPECT_EQ(content.englishExplanations.size(), 259u);
  const auto outOfOrder = std::adjacent_find(
      content.words.begin(), content.words.end(),
      [](std::string_view a, std::string_view b) { return !text::lexiconLess(a, b); });
  EXPECT_TRUE(outOfOrder == content.words.end()) << *outOfOrder;
  const auto bytes = LexiconWriter::encode(content, LexiconForm::packed);
  ASSERT_TRUE(bytes);
  ASSERT_TRUE(LexiconWriter::write(dir_ / "lex.dat", *bytes).ok());
  const auto loaded = DictionaryLoader::load(dir_ / "lex.dat");
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded.value(), content);
}

}  // namespace
}  // namespace yakdrom
