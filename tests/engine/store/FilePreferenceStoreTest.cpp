#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "engine/learning/TemporaryFolder.h"
#include "engine/store/FilePreferenceStore.h"
#include "engine/store/InMemoryPreferenceStore.h"

namespace yakdrom {
namespace {

using testing::readBytes;
using testing::TemporaryFolder;

// A file as QSettings (Qt 6.4) wrote it, byte for byte: escapes, quoting, key escapes, the
// map's QDataStream form, a list, and a key with '/' that became a section of its own.
constexpr std::string_view kQtFile = R"ini([General]
General=3
Ke%25y%E9%U0F56=1
Yakdrom.at=@@home
Yakdrom.big=1e+300
Yakdrom.ctl=a\tb\x1\x37\x63\"d\\e f
Yakdrom.flag=true
Yakdrom.int=12
Yakdrom.list=a, b
Yakdrom.map="@Variant(\0\0\0\b\0\0\0\x3\0\0\0\x14\0\x32\0\x30\0\x32\0\x34\0-\0\x30\0\x33\0-\0\x30\0\x31\0\0\0\x4\0\0\0\0\0\0\0\a\0\0\0\x14\0\x32\0\x30\0\x32\0\x34\0-\0\x30\0\x33\0-\0\x30\0\x32\0\0\0\x4\xff\xff\xff\xff\xff\xff\xff\xfe\0\0\0\x4\xfV\0x\0\0\0\x4\0\0\0\0\0\0\x1,)"
Yakdrom.nul=@String(a\0\x62)
Yakdrom.real=22.5
Yakdrom.small=1e-05
Yakdrom.sp=" padded "
Yakdrom.text="བོད་ = [x]; y"

[Key%20with%20space]
and%20slash=1
)ini";
constexpr std::string_view kQtList = "Yakdrom.list=a, b\n";
constexpr std::string_view kQtOtherSection = "\n[Key%20with%20space]\nand%20slash=1\n";

std::string replaced(std::string_view text, std::string_view part, std::string_view by) {
  std::string out(text);
  return out.replace(out.find(part), part.size(), by);
}

const IntegerMap kMap = {{"2024-03-01", 7}, {"2024-03-02", -2}, {"\u0F56x", 300}};

void writeQtValues(PreferenceStore& store) {
  store.setInteger("General", 3);
  store.setInteger("Ke%y\u00E9\u0F56", 1);
  store.setString("Yakdrom.at", "@home");
  store.setReal("Yakdrom.big", 1e300);
  store.setString("Yakdrom.ctl",
                  "a\tb\x01"
                  "7c\"d\\e f");
  store.setBoolean("Yakdrom.flag", true);
  store.setInteger("Yakdrom.int", 12);
  store.setIntegerMap("Yakdrom.map", kMap);
  store.setString("Yakdrom.nul", std::string_view("a\0b", 3));
  store.setReal("Yakdrom.real", 22.5);
  store.setReal("Yakdrom.small", 1e-5);
  store.setString("Yakdrom.sp", " padded ");
  store.setString("Yakdrom.text", "\u0F56\u0F7C\u0F51\u0F0B = [x]; y");
}

class FilePreferenceStoreTest : public ::testing::Test {
 protected:
  TemporaryFolder folder_;
  const std::filesystem::path file_ = folder_ / "Yakdrom" / "Yakdrom.ini";
};

TEST_F(FilePreferenceStoreTest, WritesEveryValueAsQSettingsDoes) {
  FilePreferenceStore store(file_);
  writeQtValues(store);
  EXPECT_EQ(readBytes(file_), replaced(replaced(kQtFile, kQtList, ""), kQtOtherSection, ""));
  EXPECT_EQ(store.lastError(), std::nullopt);
}

TEST_F(FilePreferenceStoreTest, ReadsWhatQSettingsWroteAndKeepsWhatItDoesNotKnow) {
  folder_.write("Yakdrom.ini", kQtFile);
  FilePreferenceStore store(folder_ / "Yakdrom.ini");
  InMemoryPreferenceStore memory;
  writeQtValues(memory);
  for (const char* key : {"General", "Ke%y\u00E9\u0F56", "Yakdrom.at", "Yakdrom.ctl", "Yakdrom.nul",
                          "Yakdrom.sp", "Yakdrom.text"}) {
    SCOPED_TRACE(key);
    EXPECT_EQ(store.string(key), memory.string(key).value_or(std::to_string(*memory.integer(key))));
  }
  for (const char* key : {"Yakdrom.big", "Yakdrom.flag", "Yakdrom.int", "Yakdrom.real"}) {
    SCOPED_TRACE(key);
    EXPECT_EQ(store.integer(key), memory.integer(key));
    EXPECT_EQ(store.real(key), memory.real(key));
    EXPECT_EQ(store.boolean(key), memory.boolean(key));
  }
  EXPECT_EQ(store.integerMap("Yakdrom.map"), kMap);
  EXPECT_EQ(store.string("Yakdrom.map"), std::nullopt);
  EXPECT_EQ(store.string("Yakdrom.list"), std::nullopt);
  EXPECT_TRUE(store.contains("Yakdrom.list"));

  // A write changes its one line and leaves every other byte as QSettings wrote it.
  store.setInteger("Yakdrom.int", 13);
  EXPECT_EQ(readBytes(folder_ / "Yakdrom.ini"), replaced(kQtFile, "int=12", "int=13"));
}

TEST_F(FilePreferenceStoreTest, HandEditedFilesReadAsQSettingsReadsThem) {
  folder_.write("hand.ini",
                "; comment\r\n[Other]\r\nk=v\r\n[general]\r\n  Yakdrom.count = 7.9 ; seven\r\n"
                "Yakdrom.word=\"a;b\" \r\nYakdrom.oct=\\101\\x41g\\qZ\r\nYakdrom.pad=  a b  \r\n"
                "Yakdrom.q = \"x\" y , z\r\n# hash=1\r\nYakdrom.lone\r\n"
                "Yakdrom.big=1e300\nYakdrom.zero=0\nYakdrom.at=@Rect(1 2 3 4)\n");
  const FilePreferenceStore store(folder_ / "hand.ini");
  struct Case {
    const char* key;
    std::optional<std::string> text;
    std::optional<std::int64_t> integer;
    std::optional<bool> boolean;
  };
  const Case cases[] = {
      {"Yakdrom.count", "7.9", 7, true},
      {"Yakdrom.word", "a;b", std::nullopt, std::nullopt},
      {"Yakdrom.oct", "AAgZ", std::nullopt, std::nullopt},
      {"Yakdrom.pad", "a b", std::nullopt, std::nullopt},
      {"Yakdrom.q", std::nullopt, std::nullopt, std::nullopt},
      {"# hash", "1", 1, true},
      {"Yakdrom.big", "1e300", std::nullopt, true},
      {"Yakdrom.zero", "0", 0, false},
      {"Yakdrom.at", std::nullopt, std::nullopt, std::nullopt},
      {"k", std::nullopt, std::nullopt, std::nullopt},
      {"Yakdrom.lone", std::nullopt, std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(store.string(c.key), c.text);
    EXPECT_EQ(store.integer(c.key), c.integer);
    EXPECT_EQ(store.boolean(c.key), c.boolean);
  }
  EXPECT_EQ(store.real("Yakdrom.big"), 1e300);
}

// The settings window and the input method are separate processes sharing the file.
TEST_F(FilePreferenceStoreTest, TwoProgramsSeeEachOthersWritesAndRemovals) {
  FilePreferenceStore settingsWindow(file_);
  FilePreferenceStore inputMethod(file_);
  EXPECT_FALSE(inputMethod.contains("Yakdrom.candidateCount"));
  for (const std::int64_t count : {8, 9}) {
    settingsWindow.setInteger("Yakdrom.candidateCount", count);
    EXPECT_EQ(inputMethod.integer("Yakdrom.candidateCount"), count);
  }
  inputMethod.setIntegerMap("Yakdrom.stats.dailyCharacters", {{"2024-03-01", 1}});
  inputMethod.remove("Yakdrom.candidateCount");
  EXPECT_FALSE(settingsWindow.contains("Yakdrom.candidateCount"));
  EXPECT_EQ(settingsWindow.integerMap("Yakdrom.stats.dailyCharacters"),
            (IntegerMap{{"2024-03-01", 1}}));
  EXPECT_EQ(settingsWindow.lastError(), std::nullopt);
}

TEST_F(FilePreferenceStoreTest, MapsOfOtherTypesOrCutShortAreAbsent) {
  const char* const cases[] = {
      R"(@Variant(\0\0\0\b\0\0\0\x1\0\0\0\x2\0k\0\0\0\x2\0\0\0\a))",          // an int: read
      R"(@Variant(\0\0\0\b\0\0\0\x1\0\0\0\x2\0k\0\0\0\x6\0\0\0\0\0\0\0\0))",  // a double
      R"(@Variant(\0\0\0\b\0\0\0\x2\0\0\0\x2\0k\0\0\0\x2\0\0\0\a))",          // one entry short
      R"(@Variant(\0\0\0\n\0\0\0\x2\0k))",                                    // a string
  };
  const std::optional<IntegerMap> expected[] = {IntegerMap{{"k", 7}}, std::nullopt, std::nullopt,
                                                std::nullopt};
  for (std::size_t k = 0; k < std::size(cases); ++k) {
    SCOPED_TRACE(cases[k]);
    folder_.write("maps.ini", std::string("[General]\nm=") + cases[k] + "\n");
    EXPECT_EQ(FilePreferenceStore(folder_ / "maps.ini").integerMap("m"), expected[k]);
  }
}

// Asking for the location creates nothing; the XDG rules ignore a relative XDG_CONFIG_HOME.
TEST(FilePreferenceStoreLocation, UserFileFollowsXdgConfigHomeElseHome) {
  EXPECT_EXIT(
      {
        ::setenv("XDG_CONFIG_HOME", "/config", 1);
        const bool xdg = FilePreferenceStore::userFile() == "/config/Yakdrom/Yakdrom.ini";
        ::setenv("XDG_CONFIG_HOME", "relative", 1);
        ::setenv("HOME", "/home/someone", 1);
        const bool relative =
            FilePreferenceStore::userFile() == "/home/someone/.config/Yakdrom/Yakdrom.ini";
        ::unsetenv("XDG_CONFIG_HOME");
        const bool unset =
            FilePreferenceStore::userFile() == "/home/someone/.config/Yakdrom/Yakdrom.ini";
        std::exit(xdg && relative && unset ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace yakdrom
