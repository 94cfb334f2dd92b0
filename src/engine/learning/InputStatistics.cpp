#include "engine/learning/InputStatistics.h"

#include <limits>

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

std::int64_t wordCount(std::string_view text) {
  std::int64_t words = 0;
  for (const std::string_view c : text::characters(text)) {
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

void InputStatistics::record(std::string_view raw) {
  if (raw.empty()) return;
  const std::string committed = text::sanitizeUtf8(raw);
  const auto characters = static_cast<std::int64_t>(text::scalarCount(committed));
  const std::int64_t words = wordCount(committed);

  // The store takes its own lock inside each call; that lock is a leaf (the store never
  // calls out while holding it), so holding ours around the read-modify-write is safe.
  std::lock_guard lock(mutex_);
  store_->setInteger(kTotalCharactersKey, saturatingAdd(total(kTotalCharactersKey), characters));
  store_->setInteger(kTotalWordsKey, saturatingAdd(total(kTotalWordsKey), words));
  const auto now = calendar_.now();
  const std::string today = calendar_.dayKey(now);
  const auto cutoff = calendar_.addingDays(now, -kRetainedDays);
  addToDay(kDailyCharactersKey, today, cutoff, characters);
  addToDay(kDailyWordsKey, today, cutoff, words);
}

void InputStatistics::addToDay(std::string_view key, std::string_view today,
                               LocalCalendar::TimePoint cutoff, std::int64_t amount) {
  IntegerMap days = store_->integerMap(key).value_or(IntegerMap{});
  auto& entry = days[std::string(today)];
  entry = saturatingAdd(entry, amount);
  std::erase_if(days, [&](const auto& day) {
    const auto start = calendar_.startOfDay(day.first);
    return !start || *start < cutoff;
  });
  store_->setIntegerMap(key, days);
}

std::int64_t InputStatistics::total(std::string_view key) const {
  return store_->integer(key).value_or(0);
}

std::int64_t InputStatistics::daysSum(std::string_view key, int count) const {
  std::lock_guard lock(mutex_);
  const IntegerMap days = store_->integerMap(key).value_or(IntegerMap{});
  const auto now = calendar_.now();
  std::int64_t sum = 0;
  for (int offset = 0; offset < count; ++offset) {
    const auto it = days.find(calendar_.dayKey(calendar_.addingDays(now, -offset)));
    if (it != days.end()) sum = saturatingAdd(sum, it->second);
  }
  return sum;
}

std::int64_t InputStatistics::totalCharacters() const {
  std::lock_guard lock(mutex_);
  return total(kTotalCharactersKey);
}

std::int64_t InputStatistics::totalWords() const {
  std::lock_guard lock(mutex_);
  return total(kTotalWordsKey);
}

std::int64_t InputStatistics::todayCharacters() const { return daysSum(kDailyCharactersKey, 1); }
std::int64_t InputStatistics::todayWords() const { return daysSum(kDailyWordsKey, 1); }
std::int64_t InputStatistics::weekCharacters() const {
  return daysSum(kDailyCharactersKey, kWeekDays);
}
std::int64_t InputStatistics::weekWords() const { return daysSum(kDailyWordsKey, kWeekDays); }

void InputStatistics::reset() {
  std::lock_guard lock(mutex_);
  for (const auto key :
       {kTotalCharactersKey, kTotalWordsKey, kDailyCharactersKey, kDailyWordsKey}) {
    store_->remove(key);
  }
}

}  // namespace yakdrom
