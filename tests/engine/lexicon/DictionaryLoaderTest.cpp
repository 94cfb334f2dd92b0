#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "engine/lexicon/DictionaryLoader.h"
#include "engine/lexicon/LexiconError.h"
#include "engine/lexicon/LexiconTestSupport.h"

namespace yakdrom {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

constexpr std::size_t kHeader = 56;

void putU32(std::string& bytes, std::size_t at, std::uint32_t v) {
  for (std::size_t k = 0; k < 4; ++k) bytes[at + k] = static_cast<char>((v >> (8 * k)) & 0xFF);
}

void appendU32(std::string& bytes, std::uint32_t v) {
  bytes.append(4, '\0');
  putU32(bytes, bytes.size() - 4, v);
}

// Lays out a packed lexicon by hand, independently of the writer, so the tests pin the
// format itself and can build files the writer never would (duplicate keys, bad offsets).
struct PackedFile {
  std::vector<std::string> words;
  std::array<Entries, 3> tables;
  std::uint32_t version = 3;

  static std::uint32_t appendBlock(std::string& out, const std::vector<std::string>& items) {
    std::uint32_t offset = 0;
    appendU32(out, 0);
    for (const auto& item : items)
      appendU32(out, offset += static_cast<std::uint32_t>(item.size()));
    for (const auto& item : items) out += item;
    return offset;
  }

  [[nodiscard]] std::string bytes() const {
    std::string out = "YLXB";
    out.resize(kHeader, '\0');
    putU32(out, 4, version);
    putU32(out, 8, static_cast<std::uint32_t>(words.size()));
    putU32(out, 12, appendBlock(out, words));
    for (std::size_t t = 0; t < 3; ++t) {
      std::vector<std::string> keys;
      std::vector<std::string> values;
      for (const auto& [k, v] : tables[t]) {
        keys.push_back(k);
        values.push_back(v);
      }
      putU32(out, 16 + 12 * t, static_cast<std::uint32_t>(keys.size()));
      putU32(out, 20 + 12 * t, appendBlock(out, keys));
      putU32(out, 24 + 12 * t, appendBlock(out, values));
    }
    return out;
  }
};

PackedFile sample() {
  PackedFile f;
  f.words = {"ཀ་", "ཀ་བ་", "ཁ་"};
  f.tables[0] = {{"ཀ", "གསལ་བྱེད་དང་པོ།"}};
  f.tables[1] = {{"ཀ་བ", "柱子"}};
  f.tables[2] = {{"ཁ", "mouth"}, {"ཀ", "ka"}};
  return f;
}

TEST(DictionaryLoaderTest, DeobfuscateIsItsOwnInverseAndWrapsTheKeyEvery15Bytes) {
  EXPECT_EQ(DictionaryLoader::deobfuscate(""), "");
  const std::string zeros(40, '\0');
  const std::string key = DictionaryLoader::deobfuscate(zeros);
  ASSERT_EQ(key.size(), zeros.size());
  for (std::size_t i = 0; i < key.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(key[i], key[i % 15]);
    EXPECT_TRUE(key[i] >= 0x20 && key[i] < 0x7F) << "the key is printable ASCII";
  }
  const std::string text = sample().bytes();
  EXPECT_NE(DictionaryLoader::deobfuscate(text), text);
  EXPECT_EQ(DictionaryLoader::deobfuscate(DictionaryLoader::deobfuscate(text)), text);
}

TEST(DictionaryLoaderTest, ParsesEverySectionOfAPackedFile) {
  const auto result = DictionaryLoader::parseBinary(sample().bytes());
  ASSERT_TRUE(result);
  EXPECT_EQ(result->words, (std::vector<std::string>{"ཀ་", "ཀ་བ་", "ཁ་"}));
  EXPECT_EQ(result->explanations, (ExplanationMap{{"ཀ", "གསལ་བྱེད་དང་པོ།"}}));
  EXPECT_EQ(result->chineseExplanations, (ExplanationMap{{"ཀ་བ", "柱子"}}));
  EXPECT_EQ(result->englishExplanations, (ExplanationMap{{"ཁ", "mouth"}, {"ཀ", "ka"}}));
}

TEST(DictionaryLoaderTest, LaterPackedEntryWinsAndIllFormedTextReadsAsReplacementCharacter) {
  auto file = sample();
  file.words = {"\xE0\xBD",
                "a\xFF"
                "b"};
  file.tables[0] = {{"ཀ", "first"}, {"ཀ", "second"}};
  const auto result = DictionaryLoader::parseBinary(file.bytes());
  ASSERT_TRUE(result);
  EXPECT_EQ(result->words, (std::vector<std::string>{"\uFFFD", "a\uFFFDb"}));
  EXPECT_EQ(result->explanations, (ExplanationMap{{"ཀ", "second"}}));
}

TEST(DictionaryLoaderTest, RejectsMalformedPackedFiles) {
  const std::string good = sample().bytes();
  // 3+1 word offsets, then the 6+12+6 bytes of the words.
  const std::size_t tibetanKeyOffsets = kHeader + 4 * 4 + 24;
  struct Case {
    const char* name;
    std::string bytes;
  };
  auto with = [&](auto change) {
    std::string b = good;
    change(b);
    return b;
  };
  PackedFile empty = sample();
  empty.words.clear();
  PackedFile version2 = sample();
  version2.version = 2;
  const std::vector<Case> cases = {
      {"shorter than a header", good.substr(0, kHeader - 1)},
      {"header only", good.substr(0, kHeader)},
      {"wrong magic", with([](std::string& b) { b[0] = 'X'; })},
      {"wrong version", version2.bytes()},
      {"no word, valid tables", empty.bytes()},
      {"one extra byte", good + '\0'},
      {"one byte missing", good.substr(0, good.size() - 1)},
      {"word count too large", with([](std::string& b) { putU32(b, 8, 4); })},
      {"word count huge", with([](std::string& b) { putU32(b, 8, 0xFFFFFFFF); })},
      {"block size huge", with([](std::string& b) { putU32(b, 12, 0xFFFFFFF0); })},
      {"word offsets run backwards",
       with([&](std::string& b) { putU32(b, kHeader + 8, 3); })},  // 0, 6, 3, 24
      {"word offset past its block", with([&](std::string& b) { putU32(b, kHeader + 12, 1000); })},
      {"first word offset past its block",
       with([&](std::string& b) { putU32(b, kHeader, 0xFFFFFFFF); })},
      {"table offset past its block",
       with([&](std::string& b) { putU32(b, tibetanKeyOffsets + 4, 0x7FFFFFFF); })},
      {"table offsets run backwards",
       with([&](std::string& b) { putU32(b, tibetanKeyOffsets, 4); })},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(DictionaryLoader::parseBinary(c.bytes));
  }
}

// Every offset of every table, set one by one past the end of the data, must be caught:
// a reader that trusted any of them would read outside the buffer (ASan builds show it).
TEST(DictionaryLoaderTest, AnyOffsetPastTheDataFailsThePackedParse) {
  const std::string good = sample().bytes();
  ASSERT_TRUE(DictionaryLoader::parseBinary(good));
  int rejected = 0;
  for (std::size_t at = kHeader; at + 4 <= good.size(); ++at) {
    std::string b = good;
    putU32(b, at, static_cast<std::uint32_t>(good.size() + 1));
    if (!DictionaryLoader::parseBinary(b)) ++rejected;
  }
  // Among the positions are all 3+1 + 3*(2+2) + (3+3) offsets; other positions hit text.
  EXPECT_GE(rejected, 4 + 4 + 4 + 6);
}

TEST(DictionaryLoaderTest, ParsesTheTextForm) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> words;
    ExplanationMap explanations;
  };
  const std::vector<Case> cases = {
      {"inner spaces go, later commas stay", "h\nཀ་, a b ,c", {"ཀ་"}, {{"ཀ", "ab,c"}}},
      {"a line without comma adds nothing", "h\nཀ་\nཁ་,x", {"ཁ་"}, {{"ཁ", "x"}}},
      {"explanation of spaces only", "h\nཀ་,  \t ", {"ཀ་"}, {}},
      {"repeated word twice, later explanation wins", "h\nཀ་,1\nཀ་,2", {"ཀ་", "ཀ་"}, {{"ཀ", "2"}}},
      {"empty lines dropped before the header", "\n\nh\n\nཀ་,x\n\n", {"ཀ་"}, {{"ཀ", "x"}}},
      {"the header is skipped whatever it holds", "ཀ་,x\nཁ་,y", {"ཁ་"}, {{"ཁ", "y"}}},
      {"word trimmed of Zs and TAB", "h\n\u3000\tཀ་\u00A0,x", {"ཀ་"}, {{"ཀ", "x"}}},
      {"word of whitespace only is ignored", "h\n \t,x\nཁ་,", {"ཁ་"}, {}},
      {"CR LF reads like LF", "h\r\nཀ་,x y\r\nཁ་,z\r\n", {"ཀ་", "ཁ་"}, {{"ཀ", "xy"}, {"ཁ", "z"}}},
      {"last line without LF keeps no CR", "h\r\nཀ་,x\r", {"ཀ་"}, {{"ཀ", "x"}}},
      {"a lone CR ends a line", "h\rཀ་,x\rཁ་,y\n", {"ཀ་", "ཁ་"}, {{"ཀ", "x"}, {"ཁ", "y"}}},
      {"key form drops trailing tshegs", "h\nཀ་་,x", {"ཀ་་"}, {{"ཀ", "x"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto result = DictionaryLoader::parseCSV(c.text);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->words, c.words);
    EXPECT_EQ(result->explanations, c.explanations);
    EXPECT_TRUE(result->chineseExplanations.empty());
    EXPECT_TRUE(result->englishExplanations.empty());
  }
}

TEST(DictionaryLoaderTest, TextWithoutWordsOrIllFormedYieldsNothing) {
  for (const std::string text :
       {"", "\n\n", "word,explanation\n", "h\nཀ་\nཁ་", "h\n ,x", "h\nཀ\xFF,x", "h\nཀ,\xE0"}) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(DictionaryLoader::parseCSV(text));
  }
}

class DictionaryLoaderFileTest : public ::testing::Test {
 protected:
  testing::TempDir dir_;
};

TEST_F(DictionaryLoaderFileTest, LoadsAScrambledPackedFileLargerThanOneReadPiece) {
  PackedFile file = sample();
  for (int i = 0; i < 100000; ++i) file.words.push_back("ཀ་" + std::to_string(i) + "་");
  file.tables[2].emplace_back("ག", std::string(300000, 'x'));
  const auto path = dir_.write("big.dat", DictionaryLoader::deobfuscate(file.bytes()));
  const auto loaded = DictionaryLoader::load(path);
  ASSERT_TRUE(loaded);
  EXPECT_TRUE(loaded.value() == DictionaryLoader::parseBinary(file.bytes()));
  EXPECT_EQ(loaded.value().englishExplanations.at("ག").size(), 300000u);
  EXPECT_EQ(DictionaryLoader::formOf(path), LexiconForm::packed);
}

TEST_F(DictionaryLoaderFileTest, DatFileThatIsNotPackedIsReadAsUnscrambledText) {
  // 55 bytes: one short of a header, so never packed.
  std::string text = "word,explanation\nཀ་,x\nཁ་,";
  text.append(55 - text.size(), '\n');
  ASSERT_EQ(text.size(), 55u);
  const auto path = dir_.write("short.dat", DictionaryLoader::deobfuscate(text));
  const auto loaded = DictionaryLoader::load(path);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded.value().words, (std::vector<std::string>{"ཀ་", "ཁ་"}));
  EXPECT_EQ(DictionaryLoader::formOf(path), LexiconForm::commaSeparated);
}

TEST_F(DictionaryLoaderFileTest, OnlyTheExactExtensionDatMeansPacked) {
  const std::string text = "word,explanation\nཀ་,x\n";
  for (const char* name : {"lex.csv", "lex.DAT", "lex.dat.txt", "lex"}) {
    SCOPED_TRACE(name);
    const auto loaded = DictionaryLoader::load(dir_.write(name, text));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded.value().words, std::vector<std::string>{"ཀ་"});
  }
  // The same plain text in a "dat" file is unscrambled first, which turns it into noise.
  EXPECT_FALSE(DictionaryLoader::load(dir_.write("plain.dat", text)));
}

TEST_F(DictionaryLoaderFileTest, UnreadableOrEmptyFilesYieldNothing) {
  EXPECT_FALSE(DictionaryLoader::load(dir_ / "missing.dat"));
  EXPECT_FALSE(DictionaryLoader::load(dir_ / "missing.csv"));
  std::filesystem::create_directory(dir_ / "folder.dat");
  EXPECT_FALSE(DictionaryLoader::load(dir_ / "folder.dat"));
  EXPECT_FALSE(DictionaryLoader::load(dir_.write("empty.dat", "")));
  EXPECT_FALSE(DictionaryLoader::formOf(dir_ / "missing.dat"));
}

// A file that claims the packed form is packed or nothing: its tables read as text could
// hold lines that pass for entries. Nor does text that is not UTF-8 become words.
TEST_F(DictionaryLoaderFileTest, RefusesFilesThatAreNotWhatTheySeemWithTheReason) {
  PackedFile smuggling = sample();
  smuggling.words = {"x\nཀ་,y\n"};
  const std::string packed = smuggling.bytes();
  PackedFile future = smuggling;
  future.version = 4;
  const struct {
    const char* name;
    std::string bytes;
    LexiconError why;
  } cases[] = {
      {"cut.dat", DictionaryLoader::deobfuscate(packed.substr(0, packed.size() - 1)),
       LexiconError::damagedPacked},
      {"grown.dat", DictionaryLoader::deobfuscate(packed + "\n"), LexiconError::damagedPacked},
      {"unscrambled.dat", packed, LexiconError::damagedPacked},
      {"future.dat", DictionaryLoader::deobfuscate(future.bytes()),
       LexiconError::unsupportedPackedVersion},
      {"packed.csv", DictionaryLoader::deobfuscate(packed), LexiconError::packedWithoutDatName},
      {"plain.csv", packed, LexiconError::packedWithoutDatName},
      {"binary.csv", "h\n\xFF\xFE,\x80\nཀ\xC0,x\n", LexiconError::notText},
      {"binary.dat", DictionaryLoader::deobfuscate("h\nཀ་,\xE0\n"), LexiconError::notText},
      {"header.csv", "word,explanation\r\n", LexiconError::noWord},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto path = dir_.write(c.name, c.bytes);
    const auto loaded = DictionaryLoader::load(path);
    ASSERT_FALSE(loaded);
    EXPECT_EQ(loaded.error().code, make_error_code(c.why)) << loaded.error().message();
    EXPECT_EQ(loaded.error().path, path);
    EXPECT_FALSE(DictionaryLoader::formOf(path));
  }
  ASSERT_TRUE(
      DictionaryLoader::load(dir_.write("good.dat", DictionaryLoader::deobfuscate(packed))));
}

TEST_F(DictionaryLoaderFileTest, RandomBytesNeverBecomeWords) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int file = 0; file < 200; ++file) {
    std::string bytes = "word,explanation\n";
    for (int k = 0; k < 64; ++k) bytes += static_cast<char>(byte(random));
    SCOPED_TRACE(file);
    EXPECT_FALSE(DictionaryLoader::load(dir_.write("random.csv", bytes)));
    EXPECT_FALSE(DictionaryLoader::load(dir_.write("random.dat", bytes)));
  }
}

}  // namespace
}  // namespace yakdrom
