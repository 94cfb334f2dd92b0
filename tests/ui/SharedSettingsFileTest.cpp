// Programs built with Qt and without it share the user's settings file: each store reads
// back exactly what the other wrote, sees the other's changes at once, and adds to the
// other's counts rather than overwriting them.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <limits>

#include "engine/learning/InputStatistics.h"
#include "engine/learning/TemporaryFolder.h"
#include "engine/store/ConcurrentProcesses.h"
#include "engine/store/FilePreferenceStore.h"
#include "ui/QSettingsPreferenceStore.h"

namespace yakdrom {
namespace {

namespace fs = std::filesystem;
using Open = std::function<std::unique_ptr<PreferenceStore>(const fs::path&)>;

const Open kQt = [](const fs::path& file) {
  return std::make_unique<QSettingsPreferenceStore>(file);
};
const Open kPlain = [](const fs::path& file) {
  return std::make_unique<FilePreferenceStore>(file);
};

struct Kind {
  const char* name;
  Open open;
};
const Kind kKinds[] = {{"QSettings", kQt}, {"file", kPlain}};

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
  const Open& qt = kQt;
  const Open& plain = kPlain;
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

// Writes `bytes` to `file` with the time stamp `ns`, in place or by renaming a new file.
void rewrite(const fs::path& file, std::string_view bytes, std::int64_t ns, bool inPlace) {
  constexpr std::int64_t kNsPerSecond = 1'000'000'000;
  fs::path written = file;
  if (!inPlace) written += ".new";
  testing::writeBytes(written, bytes);
  const timespec times[2] = {{0, UTIME_OMIT}, {ns / kNsPerSecond, ns % kNsPerSecond}};
  ASSERT_EQ(::utimensat(AT_FDCWD, written.c_str(), times, 0), 0);
  if (!inPlace) fs::rename(written, file);
}

// QSettings alone takes a file of the same size and millisecond for the copy it holds.
TEST(SharedSettingsFile, AnotherProgramsChangeIsReadNextEvenInTheSameMillisecond) {
  constexpr std::int64_t kWritten = 1'700'000'000'500'000'000;
  for (const auto& [name, open] : kKinds) {
    for (const bool inPlace : {false, true}) {
      SCOPED_TRACE(std::string(name) + (inPlace ? " in place" : " renamed"));
      const testing::TemporaryFolder folder;
      const auto file = folder / "Yakdrom.ini";
      rewrite(file, "[General]\nYakdrom.count=1\n", kWritten, inPlace);
      const auto store = open(file);
      EXPECT_EQ(store->integer("Yakdrom.count"), 1);
      rewrite(file, "[General]\nYakdrom.count=2\n", kWritten + 1000, inPlace);
      EXPECT_EQ(store->integer("Yakdrom.count"), 2);
    }
  }
}

// A key reads its settings together: the file is looked at once for them, so a change
// made meanwhile shows from the next key, and a write still adds to what is on disk.
TEST(SharedSettingsFile, ReadsTogetherSeeTheFileAsTheFirstOfThemDid) {
  for (const auto& [name, open] : kKinds) {
    SCOPED_TRACE(name);
    const testing::TemporaryFolder folder;
    const auto file = folder / "Yakdrom.ini";
    const auto reader = open(file);
    // QSettings objects on one file share what they read within a process, so the other
    // program writes as the file store does.
    const auto other = kPlain(file);
    other->setInteger("Yakdrom.count", 1);
    {
      const PreferenceStore::ReadTogether outer(*reader);
      EXPECT_EQ(reader->integer("Yakdrom.count"), 1);
      other->setInteger("Yakdrom.count", 2);
      const PreferenceStore::ReadTogether inner(*reader);
      EXPECT_EQ(reader->integer("Yakdrom.count"), 1);
      EXPECT_FALSE(reader->contains("Yakdrom.more"));
      other->setInteger("Yakdrom.more", 1);
      reader->update([](PreferenceStore& store) {
        store.setInteger("Yakdrom.more", store.integer("Yakdrom.more").value_or(0) + 1);
      });
      EXPECT_EQ(reader->integer("Yakdrom.more"), 2);
    }
    other->setInteger("Yakdrom.count", 3);
    EXPECT_EQ(reader->integer("Yakdrom.count"), 3);
    EXPECT_EQ(other->integer("Yakdrom.more"), 2);
  }
}

TEST(SharedSettingsFile, FailedSavesAreReportedUntilASaveSucceeds) {
  struct Obstacle {
    const char* name;
    std::function<void(const fs::path&)> place;  // given the settings file
  };
  const Obstacle obstacles[] = {
      {"folder is a file",
       [](const fs::path& file) { testing::writeBytes(file.parent_path(), ""); }},
      {"file is a folder", [](const fs::path& file) { fs::create_directories(file); }},
  };
  for (const auto& [name, open] : kKinds) {
    for (const auto& obstacle : obstacles) {
      SCOPED_TRACE(std::string(name) + ", " + obstacle.name);
      const testing::TemporaryFolder folder;
      const auto file = folder / "Yakdrom" / "Yakdrom.ini";
      obstacle.place(file);
      const auto store = open(file);
      store->setInteger("Yakdrom.count", 1);
      EXPECT_NE(store->lastError(), std::nullopt);
      fs::remove_all(folder / "Yakdrom");
      store->setInteger("Yakdrom.count", 2);
      EXPECT_EQ(store->lastError(), std::nullopt);
      EXPECT_EQ(open(file)->integer("Yakdrom.count"), 2);
    }
  }
}

// Two programs built with Qt and two without record into one file at the same time.
TEST(SharedSettingsFile, FourProgramsRecordingAtOnceLoseNoCount) {
  constexpr int kRecords = 100;
  const testing::TemporaryFolder folder;
  const auto file = folder / "Yakdrom" / "Yakdrom.ini";
  ASSERT_TRUE(testing::runInProcesses(4, [&](int k) {
    InputStatistics stats(std::shared_ptr<PreferenceStore>(kKinds[k % 2].open(file)));
    for (int n = 0; n < kRecords; ++n) stats.record("ཀ་");
  }));
  for (const auto& [name, open] : kKinds) {
    SCOPED_TRACE(name);
    const InputStatistics stats(std::shared_ptr<PreferenceStore>(open(file)));
    EXPECT_EQ(stats.totalCharacters(), 4 * kRecords * 2);
    EXPECT_EQ(stats.todayWords(), 4 * kRecords);
  }
}

}  // namespace
}  // namespace yakdrom
