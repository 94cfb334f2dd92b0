// Programs built with Qt and without it share the user's settings file: each store reads
// back exactly what the other wrote.
#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "engine/learning/TemporaryFolder.h"
#include "engine/store/FilePreferenceStore.h"
#include "ui/QSettingsPreferenceStore.h"

namespace yakdrom {
namespace {

constexpr const char* kKeys[] = {"Yakdrom.candidateCount",
                                 "Yakdrom.stats.totalCharacters",
                                 "Yakdrom.candidateFontSize",
                                 "Yakdrom.suggestionEnabled",
                                 "Yakdrom.showExplanation",
                                 "Yakdrom.candidateFontName",
                                 "Yakdrom.other",
                                 "Yakdrom.at",
                                 "Yakdrom.spaced",
                                 "Yakdrom.nul",
                                 "Yakdrom.controls",
                                 "Yakdrom.stats.dailyCharacters",
                                 "Yakdrom.absent"};

void writeAll(PreferenceStore& store) {
  store.setInteger("Yakdrom.candidateCount", 12);
  store.setInteger("Yakdrom.stats.totalCharacters", std::numeric_limits<std::int64_t>::max());
  store.setReal("Yakdrom.candidateFontSize", 22.5);
  store.setBoolean("Yakdrom.suggestionEnabled", false);
  store.setBoolean("Yakdrom.showExplanation", true);
  store.setString("Yakdrom.candidateFontName", "Noto Serif Tibetan");
  store.setString("Yakdrom.other", "\u0F56\u0F7C\u0F51\u0F0B = [x]; y, z");
  store.setString("Yakdrom.at", "@Variant(not a map)");
  store.setString("Yakdrom.spaced", "  both ends\t ");
  store.setString("Yakdrom.nul", std::string_view("a\0"
                                                  "1",
                                                  3));
  store.setString("Yakdrom.controls", "\x1b[0m\x7f\"\\\n\r");
  store.setIntegerMap("Yakdrom.stats.dailyCharacters",
                      {{"2024-03-01", 7},
                       {"\u0F56\u0F7C\u0F51 \U0001F600", -2},
                       {"min", std::numeric_limits<std::int64_t>::min()}});
}

void expectSameReads(const PreferenceStore& read, const PreferenceStore& written) {
  for (const char* key : kKeys) {
    SCOPED_TRACE(key);
    EXPECT_EQ(read.contains(key), written.contains(key));
    EXPECT_EQ(read.string(key), written.string(key));
    EXPECT_EQ(read.integer(key), written.integer(key));
    EXPECT_EQ(read.real(key), written.real(key));
    EXPECT_EQ(read.boolean(key), written.boolean(key));
    EXPECT_EQ(read.integerMap(key), written.integerMap(key));
  }
}

TEST(SharedSettingsFile, EachStoreReadsWhatTheOtherWrote) {
  using Open = std::function<std::unique_ptr<PreferenceStore>(const std::filesystem::path&)>;
  const Open qt = [](const auto& file) { return std::make_unique<QSettingsPreferenceStore>(file); };
  const Open plain = [](const auto& file) { return std::make_unique<FilePreferenceStore>(file); };
  struct Direction {
    const char* name;
    Open writer;
    Open reader;
  };
  for (const auto& [name, writer, reader] :
       {Direction{"QSettings to file", qt, plain}, Direction{"file to QSettings", plain, qt}}) {
    SCOPED_TRACE(name);
    const testing::TemporaryFolder folder;
    const auto file = folder / "Yakdrom.ini";
    const auto written = writer(file);
    writeAll(*written);
    const auto read = reader(file);
    expectSameReads(*read, *written);
    read->setInteger("Yakdrom.candidateCount", 5);
    EXPECT_EQ(written->integer("Yakdrom.candidateCount"), 5);
  }
}

}  // namespace
}  // namespace yakdrom
