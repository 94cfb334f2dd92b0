#include "engine/learning/InputStatistics.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

#include "engine/composition/Letters.h"
#include "engine/text/Text.h"

namespace yakdrom {
namespace {

std::int64_t saturatingAdd(std::int64_t a, std::int64_t b) {
  std::int64_t sum = 0;
  if (__builtin_add_overflow(a, b, &sum)) {
    return b > 0 ? std::numeric_limits<std::int64_t>::max()
                 : std::numeric_limits<std::int64_t>::min();
  }
  return sum;
}

// A count edited by hand or cut short reads as none rather than as a debt.
std::int64_t count(std::optional<std::int64_t> stored) {
  return std::max<std::int64_t>(stored.value_or(0), 0);
}

std::int64_t storedTotal(const PreferenceStore& store, std::string_view key) {
  return count(store.integer(key));
}

std::int64_t wordCount(std::string_view text) {
  std::int64_t words = 0;
  // Kept by the thread: every commit is counted, and the list then needs no new room.
  thread_local std::vector<std::string_view> characters;
  text::charactersInto(text, characters);
  for (const std::string_view c : characters) {
    if (c == detail::letters::kTsheg || c == detail::letters::kShad) ++words;
  }
  return words;
}

}  // namespace

InputStatistics& InputStatistics::shared() {
  static InputStatistics instance(PreferenceStore::shared());
  return instance;
}

InputStatistics::InputStatistics(std::shared_ptr<PreferenceStore> store, LocalCalendar calendar)
    : store_(std::move(store)), calendar_(std::move(calendar)) {}

InputStatistics::~InputStatistics() { flush(); }

void InputStatistics::record(std::string_view raw) {
  if (raw.empty()) return;
  std::string sanitized;
  const std::string_view committed =
      text::isWellFormedUtf8(raw) ? raw : (sanitized = text::sanitizeUtf8(raw));
  const auto characters = static_cast<std::int64_t>(text::scalarCount(committed));
  const std::int64_t words = wordCount(committed);
  const auto now = calendar_.now();
  std::string today = calendar_.dayKey(now);
  Counts previousDay;
  Counts due;
  {
    std::lock_guard lock(mutex_);
    if (pending_.day != today) {
      previousDay = std::exchange(pending_, Counts{std::move(today)});
    }
    pending_.characters = saturatingAdd(pending_.characters, characters);
    pending_.words = saturatingAdd(pending_.words, words);
    pending_.any = true;
    // A clock set back counts as time passed.
    if (!lastWrite_ || now < *lastWrite_ || now - *lastWrite_ >= kWriteInterval) {
      due = std::exchange(pending_, Counts{pending_.day});
      lastWrite_ = now;
    }
  }
  write(previousDay);
  write(due);
}

void InputStatistics::flush() {
  Counts due;
  {
    std::lock_guard lock(mutex_);
    due = std::exchange(pending_, Counts{pending_.day});
    lastWrite_ = calendar_.now();
  }
  write(due);
}

// Other programs count into the same store: adding to the totals they leave is only right
// when nothing else writes between the read and the write.
void InputStatistics::write(const Counts& counts) {
  if (!counts.any) return;
  const auto cutoff = calendar_.addingDays(calendar_.now(), -kRetainedDays);
  store_->update([&](PreferenceStore& store) {
    store.setInteger(kTotalCharactersKey,
                     saturatingAdd(storedTotal(store, kTotalCharactersKey), counts.characters));
    store.setInteger(kTotalWordsKey,
                     saturatingAdd(storedTotal(store, kTotalWordsKey), counts.words));
    addToDay(store, kDailyCharactersKey, counts.day, cutoff, counts.characters);
    addToDay(store, kDailyWordsKey, counts.day, cutoff, counts.words);
  });
}

void InputStatistics::addToDay(PreferenceStore& store, std::string_view key, std::string_view today,
                               LocalCalendar::TimePoint cutoff, std::int64_t amount) const {
  IntegerMap days = store.integerMap(key).value_or(IntegerMap{});
  auto& entry = days[std::string(today)];
  entry = saturatingAdd(count(entry), amount);
  std::erase_if(days, [&](const auto& day) {
    const auto start = calendar_.startOfDay(day.first);
    return !start || *start < cutoff;
  });
  store.setIntegerMap(key, days);
}

std::int64_t InputStatistics::total(std::string_view key, std::int64_t Counts::*field) const {
  const std::int64_t stored = storedTotal(*store_, key);
  std::lock_guard lock(mutex_);
  return saturatingAdd(stored, pending_.*field);
}

std::int64_t InputStatistics::daysSum(std::string_view key, std::int64_t Counts::*field,
                                      int days) const {
  const IntegerMap counts = store_->integerMap(key).value_or(IntegerMap{});
  Counts pending;
  {
    std::lock_guard lock(mutex_);
    pending = pending_;
  }
  const auto now = calendar_.now();
  std::int64_t sum = 0;
  for (int offset = 0; offset < days; ++offset) {
    const std::string day = calendar_.dayKey(calendar_.addingDays(now, -offset));
    if (const auto it = counts.find(day); it != counts.end()) {
      sum = saturatingAdd(sum, count(it->second));
    }
    if (day == pending.day) sum = saturatingAdd(sum, pending.*field);
  }
  return sum;
}

std::int64_t InputStatistics::totalCharacters() const {
  return total(kTotalCharactersKey, &Counts::characters);
}

std::int64_t InputStatistics::totalWords() const { return total(kTotalWordsKey, &Counts::words); }

std::int64_t InputStatistics::todayCharacters() const {
  return daysSum(kDailyCharactersKey, &Counts::characters, 1);
}
std::int64_t InputStatistics::todayWords() const {
  return daysSum(kDailyWordsKey, &Counts::words, 1);
}
std::int64_t InputStatistics::weekCharacters() const {
  return daysSum(kDailyCharactersKey, &Counts::characters, kWeekDays);
}
std::int64_t InputStatistics::weekWords() const {
  return daysSum(kDailyWordsKey, &Counts::words, kWeekDays);
}

void InputStatistics::reset() {
  {
    std::lock_guard lock(mutex_);
    pending_ = Counts{pending_.day};
  }
  store_->update([](PreferenceStore& store) {
    for (const auto key :
         {kTotalCharactersKey, kTotalWordsKey, kDailyCharactersKey, kDailyWordsKey}) {
      store.remove(key);
    }
  });
}

}  // namespace yakdrom
