#include <gtest/gtest.h>

#include <limits>

#include "engine/learning/TemporaryFolder.h"
#include "engine/store/InMemoryPreferenceStore.h"
#include "ui/QSettingsPreferenceStore.h"

namespace yakdrom {
namespace {

class QSettingsPreferenceStoreTest : public ::testing::Test {
 protected:
  [[nodiscard]] std::unique_ptr<QSettingsPreferenceStore> open() const {
    return std::make_unique<QSettingsPreferenceStore>(file);
  }

  testing::TemporaryFolder folder;
  const std::filesystem::path file = folder / "Yakdrom.conf";
};

void writeAll(PreferenceStore& store) {
  store.setInteger("Yakdrom.candidateCount", 12);
  store.setInteger("Yakdrom.stats.totalCharacters", std::numeric_limits<std::int64_t>::max());
  store.setReal("Yakdrom.candidateFontSize", 22.5);
  store.setBoolean("Yakdrom.suggestionEnabled", false);
  store.setBoolean("Yakdrom.showExplanation", true);
  store.setString("Yakdrom.candidateFontName", "Noto Serif Tibetan");
  store.setString("Yakdrom.other", "\u0F56\u0F7C\u0F51\u0F0B = [x]; y");
  store.setIntegerMap("Yakdrom.stats.dailyCharacters", {{"2024-03-01", 7}, {"2024-03-02", -2}});
}

// The same reads on a store just written, on the file read back, and on the in-memory store
// give the same answers: the settings read rules must not depend on where values live.
TEST_F(QSettingsPreferenceStoreTest, ReadsAgreeWithTheInMemoryStoreBeforeAndAfterAReload) {
  InMemoryPreferenceStore memory;
  writeAll(memory);
  auto written = open();
  writeAll(*written);
  EXPECT_EQ(written->file(), file);
  const std::string text = testing::readBytes(file);
  EXPECT_NE(text.find("Yakdrom.candidateCount=12"), std::string::npos) << text;
  EXPECT_NE(text.find("Yakdrom.stats.dailyCharacters="), std::string::npos) << text;
  const auto reloaded = open();
  const PreferenceStore* stores[] = {written.get(), reloaded.get()};
  for (const PreferenceStore* store : stores) {
    SCOPED_TRACE(store == written.get() ? "written" : "reloaded");
    for (const char* key :
         {"Yakdrom.candidateCount", "Yakdrom.stats.totalCharacters", "Yakdrom.candidateFontSize",
          "Yakdrom.suggestionEnabled", "Yakdrom.showExplanation", "Yakdrom.absent"}) {
      SCOPED_TRACE(key);
      EXPECT_EQ(store->integer(key), memory.integer(key));
      EXPECT_EQ(store->real(key), memory.real(key));
      EXPECT_EQ(store->boolean(key), memory.boolean(key));
      EXPECT_EQ(store->contains(key), memory.contains(key));
    }
    for (const char* key : {"Yakdrom.candidateFontName", "Yakdrom.other", "Yakdrom.absent"}) {
      SCOPED_TRACE(key);
      EXPECT_EQ(store->string(key), memory.string(key));
      EXPECT_EQ(store->integer(key), memory.integer(key));
    }
    EXPECT_EQ(store->integerMap("Yakdrom.stats.dailyCharacters"),
              memory.integerMap("Yakdrom.stats.dailyCharacters"));
    EXPECT_EQ(store->integerMap("Yakdrom.candidateCount"), std::nullopt);
  }
}

TEST_F(QSettingsPreferenceStoreTest, TextWrittenByHandConvertsLikeTypedValues) {
  testing::writeBytes(file,
                      "[General]\nYakdrom.count=7.9\nYakdrom.flag=true\nYakdrom.zero=0\n"
                      "Yakdrom.word=abc\nYakdrom.big=1e300\n");
  const auto store = open();
  struct Case {
    const char* key;
    std::optional<std::int64_t> integer;
    std::optional<double> real;
    std::optional<bool> boolean;
  };
  const Case cases[] = {
      {"Yakdrom.count", 7, 7.9, true},
      {"Yakdrom.flag", 1, 1.0, true},
      {"Yakdrom.zero", 0, 0.0, false},
      {"Yakdrom.word", std::nullopt, std::nullopt, std::nullopt},
      {"Yakdrom.big", std::nullopt, 1e300, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(store->integer(c.key), c.integer);
    EXPECT_EQ(store->real(c.key), c.real);
    EXPECT_EQ(store->boolean(c.key), c.boolean);
  }
  // After a reload numbers are text, so they read as strings too.
  EXPECT_EQ(store->string("Yakdrom.count"), "7.9");
}

TEST_F(QSettingsPreferenceStoreTest, TwoProgramsSeeEachOthersWrites) {
  auto settingsWindow = open();
  auto inputMethod = open();
  EXPECT_EQ(inputMethod->integer("Yakdrom.candidateCount"), std::nullopt);
  settingsWindow->setInteger("Yakdrom.candidateCount", 8);
  EXPECT_EQ(inputMethod->integer("Yakdrom.candidateCount"), 8);
  inputMethod->remove("Yakdrom.candidateCount");
  EXPECT_FALSE(settingsWindow->contains("Yakdrom.candidateCount"));
  EXPECT_EQ(settingsWindow->lastError(), std::nullopt);
}

}  // namespace
}  // namespace yakdrom
