// Typing statistics: characters and words committed, in total and per calendar day for the
// last thirty days, kept in the preference store so they survive restarts. Any thread or
// program sharing the store may call it: each write and reset() is one store update, which
// adds to what other programs wrote. Text is committed several times a second while the
// store may be a file, so counts gather in memory and go to the store at most every two
// seconds, at a flush() and when the statistics end.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "engine/learning/LocalCalendar.h"
#include "engine/store/PreferenceStore.h"

namespace yakdrom {

class InputStatistics {
 public:
  static constexpr std::string_view kTotalCharactersKey = "Yakdrom.stats.totalCharacters";
  static constexpr std::string_view kTotalWordsKey = "Yakdrom.stats.totalWords";
  static constexpr std::string_view kDailyCharactersKey = "Yakdrom.stats.dailyCharacters";
  static constexpr std::string_view kDailyWordsKey = "Yakdrom.stats.dailyWords";

  /// Days whose entries survive pruning, today included.
  static constexpr int kRetainedDays = 30;
  /// Days summed by the week figures, today included.
  static constexpr int kWeekDays = 7;

  /// Returns the process-wide statistics, kept in PreferenceStore::shared().
  [[nodiscard]] static InputStatistics& shared();

  /// How long counts may wait in memory after the last write to the store.
  static constexpr std::chrono::seconds kWriteInterval{2};

  /// Creates statistics kept in `store`, with days taken from `calendar`.
  explicit InputStatistics(std::shared_ptr<PreferenceStore> store, LocalCalendar calendar = {});

  /// Writes the counts not yet in the store.
  ~InputStatistics();

  InputStatistics(const InputStatistics&) = delete;
  InputStatistics& operator=(const InputStatistics&) = delete;

  /// Counts committed `text`: its scalars as characters, its tsheg and shad characters as
  /// words, added to the totals and to today's entries; a write drops days older than
  /// thirty days. The first count, and the first kWriteInterval after a write, write.
  void record(std::string_view text);

  /// Writes the counts not yet in the store.
  void flush();

  /// Returns the characters recorded since the last reset, those not yet written included;
  /// a negative or unreadable stored figure, here and below, counts as zero.
  [[nodiscard]] std::int64_t totalCharacters() const;
  /// Returns the words recorded since the last reset.
  [[nodiscard]] std::int64_t totalWords() const;
  /// Returns the characters recorded today.
  [[nodiscard]] std::int64_t todayCharacters() const;
  /// Returns the words recorded today.
  [[nodiscard]] std::int64_t todayWords() const;
  /// Returns the characters recorded today and on the six days before.
  [[nodiscard]] std::int64_t weekCharacters() const;
  /// Returns the words recorded today and on the six days before.
  [[nodiscard]] std::int64_t weekWords() const;

  /// Sets every figure back to zero.
  void reset();

 private:
  // Counts of one day not yet written.
  struct Counts {
    std::string day;
    std::int64_t characters = 0;
    std::int64_t words = 0;
    bool any = false;  // text without words still starts the day's entries
  };

  void write(const Counts& counts);
  [[nodiscard]] std::int64_t total(std::string_view key, std::int64_t Counts::*field) const;
  [[nodiscard]] std::int64_t daysSum(std::string_view key, std::int64_t Counts::*field,
                                     int days) const;
  void addToDay(PreferenceStore& store, std::string_view key, std::string_view today,
                LocalCalendar::TimePoint cutoff, std::int64_t amount) const;

  const std::shared_ptr<PreferenceStore> store_;
  const LocalCalendar calendar_;
  mutable std::mutex mutex_;
  Counts pending_;                                     // guarded by mutex_
  std::optional<LocalCalendar::TimePoint> lastWrite_;  // guarded by mutex_
};

}  // namespace yakdrom
