// Typing statistics: characters and words committed, in total and per calendar day for the
// last thirty days, kept in the preference store so they survive restarts. Any thread or
// program sharing the store may call it: each record() and reset() is one store update.
#pragma once

#include <cstdint>
#include <memory>
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

  /// Creates statistics kept in `store`, with days taken from `calendar`.
  explicit InputStatistics(std::shared_ptr<PreferenceStore> store, LocalCalendar calendar = {});

  /// Counts committed `text`: its scalars as characters, its tsheg and shad characters as
  /// words, added to the totals and to today's entries; drops days older than thirty days.
  void record(std::string_view text);

  /// Returns the characters recorded since the last reset; a negative or unreadable stored
  /// figure, here and below, counts as zero.
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
  [[nodiscard]] std::int64_t daysSum(std::string_view key, int days) const;
  void addToDay(PreferenceStore& store, std::string_view key, std::string_view today,
                LocalCalendar::TimePoint cutoff, std::int64_t amount) const;

  const std::shared_ptr<PreferenceStore> store_;
  const LocalCalendar calendar_;
};

}  // namespace yakdrom
