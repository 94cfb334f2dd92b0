#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <limits>
#include <thread>
#include <vector>

#include "engine/learning/InputStatistics.h"
#include "engine/learning/TemporaryFolder.h"
#include "engine/store/ConcurrentProcesses.h"
#include "engine/store/FilePreferenceStore.h"
#include "engine/store/InMemoryPreferenceStore.h"

namespace yakdrom {
namespace {

using namespace std::chrono;
using TimePoint = LocalCalendar::TimePoint;

// 2026-03-14 09:30 in Shanghai (UTC+8, no daylight saving).
constexpr TimePoint shanghai(int day, int hour, int minute = 0) {
  return TimePoint(sys_days{year{2026} / March / day} + hours(hour - 8) + minutes(minute));
}

TEST(LocalCalendar, DayKeysAndDayStartsFollowTheTimeZone) {
  const TimePoint instant = sys_days{year{2026} / March / 14} + hours(20);  // 20:00 UTC
  const auto clock = [&] { return instant; };
  EXPECT_EQ(LocalCalendar(clock, "Asia/Shanghai").dayKey(instant), "2026-03-15");
  EXPECT_EQ(LocalCalendar(clock, "America/New_York").dayKey(instant), "2026-03-14");
  const LocalCalendar ny(clock, "America/New_York");
  EXPECT_EQ(ny.startOfDay("2026-03-14"), TimePoint(sys_days{year{2026} / March / 14} + hours(4)));
  for (const char* bad : {"2026-02-30", "2026-3-14", "2026-03-14 ", "yesterday", ""}) {
    EXPECT_EQ(ny.startOfDay(bad), std::nullopt) << bad;
  }
  EXPECT_EQ(LocalCalendar(clock, "Asia/Shanghai").timestamp(instant + milliseconds(42)),
            "20260315-040000-042");
}

TEST(LocalCalendar, AddingDaysKeepsWallClockAcrossDaylightSaving) {
  // Daylight saving starts in New York on 2026-03-08, so that calendar day lasts 23 hours.
  const TimePoint noonAfter = sys_days{year{2026} / March / 9} + hours(16);  // 12:00 EDT
  const LocalCalendar ny([&] { return noonAfter; }, "America/New_York");
  EXPECT_EQ(noonAfter - ny.addingDays(noonAfter, -2), hours(47));
  EXPECT_EQ(ny.addingDays(ny.addingDays(noonAfter, -2), 2), noonAfter);
}

class InputStatisticsTest : public ::testing::Test {
 protected:
  TimePoint now_ = shanghai(14, 9, 30);
  std::shared_ptr<InMemoryPreferenceStore> store_ = std::make_shared<InMemoryPreferenceStore>();
  InputStatistics stats_{store_, LocalCalendar([this] { return now_; }, "Asia/Shanghai")};

  [[nodiscard]] IntegerMap daily(std::string_view key) const {
    return store_->integerMap(key).value_or(IntegerMap{});
  }
};

TEST_F(InputStatisticsTest, RecordCountsScalarsAndSeparatorCharacters) {
  stats_.record("བོད་ཡིག་");
  EXPECT_EQ(stats_.totalCharacters(), 8);
  EXPECT_EQ(stats_.totalWords(), 2);
  EXPECT_EQ(stats_.todayCharacters(), 8);
  EXPECT_EQ(stats_.todayWords(), 2);
  stats_.record("བོད།༎༌");  // only the shad counts among these marks
  EXPECT_EQ(stats_.totalWords(), 3);
  EXPECT_EQ(stats_.todayCharacters(), 14);
}

TEST_F(InputStatisticsTest, EmptyTextRecordsNothingButTextWithoutSeparatorStartsTodaysWords) {
  stats_.record("");
  for (const auto key : {InputStatistics::kTotalCharactersKey, InputStatistics::kTotalWordsKey,
                         InputStatistics::kDailyCharactersKey, InputStatistics::kDailyWordsKey}) {
    EXPECT_FALSE(store_->contains(key)) << key;
  }
  stats_.record("ཀ");
  EXPECT_EQ(daily(InputStatistics::kDailyWordsKey), (IntegerMap{{"2026-03-14", 0}}));
  EXPECT_EQ(daily(InputStatistics::kDailyCharactersKey), (IntegerMap{{"2026-03-14", 1}}));
}

TEST_F(InputStatisticsTest, RecordingDropsDaysOlderThanThirtyDaysAndUnreadableKeys) {
  store_->setIntegerMap(InputStatistics::kDailyCharactersKey,
                        {{"2026-02-11", 1},  // 31 days ago
                         {"2026-02-12", 2},  // 30 days ago: its midnight is before the cutoff
                         {"2026-02-13", 3},  // 29 days ago
                         {"edited", 4}});
  stats_.record("ཀ");
  EXPECT_EQ(daily(InputStatistics::kDailyCharactersKey),
            (IntegerMap{{"2026-02-13", 3}, {"2026-03-14", 1}}));

  // At midnight itself the day thirty days back is not yet before the cutoff.
  store_->setIntegerMap(InputStatistics::kDailyCharactersKey, {{"2026-02-12", 2}});
  now_ = shanghai(14, 0);
  stats_.record("ཀ");
  EXPECT_EQ(daily(InputStatistics::kDailyCharactersKey),
            (IntegerMap{{"2026-02-12", 2}, {"2026-03-14", 1}}));
}

TEST_F(InputStatisticsTest, DaysChangeAtLocalMidnight) {
  now_ = shanghai(14, 23, 59);
  stats_.record("ཀཀ");
  now_ = shanghai(15, 0, 1);
  stats_.record("ཀ");
  EXPECT_EQ(stats_.todayCharacters(), 1);
  EXPECT_EQ(stats_.weekCharacters(), 3);
  EXPECT_EQ(daily(InputStatistics::kDailyCharactersKey),
            (IntegerMap{{"2026-03-14", 2}, {"2026-03-15", 1}}));
}

// The store may be a file shared with other programs: counts wait in memory between
// writes, but this program always sees them, and none is lost to the day changing or to
// the statistics ending.
TEST_F(InputStatisticsTest, CountsGoToTheStoreEveryTwoSecondsAndWhenTheStatisticsEnd) {
  const auto stored = [&] { return store_->integer(InputStatistics::kTotalCharactersKey); };
  stats_.record("ཀ་");
  EXPECT_EQ(stored(), 2);
  now_ += seconds(1);
  stats_.record("ཀ་");
  EXPECT_EQ(stored(), 2);
  EXPECT_EQ(stats_.totalCharacters(), 4);
  EXPECT_EQ(stats_.todayWords(), 2);
  EXPECT_EQ(InputStatistics(store_).totalCharacters(), 2);
  now_ += seconds(1);
  stats_.record("ཀ");
  EXPECT_EQ(stored(), 5);
  stats_.record("ཀ");
  stats_.flush();
  EXPECT_EQ(stored(), 6);

  now_ = shanghai(15, 0) - milliseconds(300);
  stats_.record("ཀཀ");
  stats_.record("ཀ");
  now_ += milliseconds(500);
  {
    InputStatistics other(store_, LocalCalendar([this] { return now_; }, "Asia/Shanghai"));
    other.record("ཀ་");
    other.record("ཀ");
  }
  stats_.record("ཀ");
  EXPECT_EQ(stored(), 6 + 3 + 3);
  EXPECT_EQ(daily(InputStatistics::kDailyCharactersKey),
            (IntegerMap{{"2026-03-14", 6 + 3}, {"2026-03-15", 3}}));
  EXPECT_EQ(stats_.todayCharacters(), 3 + 1);
  EXPECT_EQ(stats_.totalCharacters(), 6 + 3 + 3 + 1);
}

TEST_F(InputStatisticsTest, WeekSumsTodayAndTheSixDaysBefore) {
  store_->setIntegerMap(InputStatistics::kDailyWordsKey, {{"2026-03-14", 1},
                                                          {"2026-03-13", 10},
                                                          {"2026-03-08", 100},
                                                          {"2026-03-07", 1000},
                                                          {"2026-03-06", 10000}});
  EXPECT_EQ(stats_.weekWords(), 111);
  EXPECT_EQ(stats_.todayWords(), 1);
  EXPECT_EQ(stats_.weekCharacters(), 0);
}

TEST_F(InputStatisticsTest, ResetZeroesEveryFigure) {
  stats_.record("བོད་ཡིག་");
  stats_.reset();
  EXPECT_EQ((std::array{stats_.totalCharacters(), stats_.totalWords(), stats_.todayCharacters(),
                        stats_.todayWords(), stats_.weekCharacters(), stats_.weekWords()}),
            (std::array<std::int64_t, 6>{}));
}

TEST_F(InputStatisticsTest, TotalsSaturateAndMistypedValuesReadAsZero) {
  store_->setInteger(InputStatistics::kTotalCharactersKey, INT64_MAX - 1);
  store_->setString(InputStatistics::kTotalWordsKey, "many");
  stats_.record("བོད་");
  EXPECT_EQ(stats_.totalCharacters(), INT64_MAX);
  EXPECT_EQ(stats_.totalWords(), 1);
}

TEST(InputStatisticsFile, NegativeOrUnreadableTotalsCountAsZeroAndFullOnesSaturate) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  struct Case {
    const char* stored;
    std::int64_t before;
    std::int64_t after;
  };
  for (const auto& c : {Case{"-5", 0, 1}, Case{"abc", 0, 1}, Case{"1e999", 0, 1},
                        Case{"9223372036854775807", kMax, kMax}}) {
    SCOPED_TRACE(c.stored);
    const testing::TemporaryFolder folder;
    const auto file = folder.write(
        "Yakdrom.ini", std::string("[General]\nYakdrom.stats.totalCharacters=") + c.stored + "\n");
    InputStatistics stats(std::make_shared<FilePreferenceStore>(file));
    EXPECT_EQ(stats.totalCharacters(), c.before);
    stats.record("ཀ");
    EXPECT_EQ(stats.totalCharacters(), c.after);
  }
}

// Each process has its own store on the one file, as the input method and the pads do.
TEST(InputStatisticsFile, FourProgramsRecordingAtOnceLoseNoCount) {
  constexpr int kRecords = 100;
  const testing::TemporaryFolder folder;
  const auto file = folder / "Yakdrom" / "Yakdrom.ini";
  ASSERT_TRUE(testing::runInProcesses(4, [&](int) {
    InputStatistics stats(std::make_shared<FilePreferenceStore>(file));
    for (int k = 0; k < kRecords; ++k) stats.record("ཀ་");
  }));
  const InputStatistics stats(std::make_shared<FilePreferenceStore>(file));
  EXPECT_EQ(stats.totalCharacters(), 4 * kRecords * 2);
  EXPECT_EQ(stats.totalWords(), 4 * kRecords);
  EXPECT_EQ(stats.todayWords(), 4 * kRecords);
}

TEST_F(InputStatisticsTest, ConcurrentRecordsAreEachCountedOnce) {
  std::vector<std::thread> threads;
  threads.reserve(4);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int k = 0; k < 250; ++k) stats_.record("ཀ་");
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(stats_.totalCharacters(), 2000);
  EXPECT_EQ(stats_.todayWords(), 1000);
}

}  // namespace
}  // namespace yakdrom
