#include "engine/learning/InputStatistics.h"

#include <algorithm>
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

// A count edited by hand or cut short reads as none rather than as a debt.
std::int64_t count(std::optional<std::int64_t> stored) {
  return std::max<std::int64_t>(stored.value_or(0), 0);
}

std::int64_t total(const PreferenceStore& store, std::string_view key) {
  return count(store.integer(key));
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

  const auto now = calendar_.now();
  const std::string today = calendar_.dayKey(now);
  const auto cutoff = calendar_.addingDays(now, -kRetainedDays);
  // Other programs count into the same store: adding to the totals they leave is only right
  // when nothing else writes between the read and the write.
  store_->update([&](PreferenceStore& store) {
    store.setInteger(kTotalCharactersKey,
                     saturatingAdd(total(store, kTotalCharactersKey), characters));
    store.setInteger(kTotalWordsKey, saturatingAdd(total(store, kTotalWordsKey), words));
    addToDay(store, kDailyCharactersKey, today, cutoff, characters);
    addToDay(store, kDailyWordsKey, today, cutoff, words);
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

std::int64_t InputStatistics::daysSum(std::string_view key, int days) const {
  const IntegerMap counts = store_->integerMap(key).value_or(IntegerMap{});
  const auto now = calendar_.now();
  std::int64_t sum = 0;
  for (int offset = 0; offset < days; ++offset) {
    const auto it = counts.find(calendar_.dayKey(calendar_.addingDays(now, -offset)));
    if (it != counts.end()) sum = saturatingAdd(sum, count(it->second));
  }
  return sum;
}

std::int64_t InputStatistics::totalCharacters() const {
  return total(*store_, kTotalCharactersKey);
}

std::int64_t InputStatistics::totalWords() const { return total(*store_, kTotalWordsKey); }

std::int64_t InputStatistics::todayCharacters() const { return daysSum(kDailyCharactersKey, 1); }
std::int64_t InputStatistics::todayWords() const { return daysSum(kDailyWordsKey, 1); }
std::int64_t InputStatistics::weekCharacters() const {
  return daysSum(kDailyCharactersKey, kWeekDays);
}
std::int64_t InputStatistics::weekWords() const { return daysSum(kDailyWordsKey, kWeekDays); }

void InputStatistics::reset() {
  store_->update([](PreferenceStore& store) {
    for (const auto key :
         {kTotalCharactersKey, kTotalWordsKey, kDailyCharactersKey, kDailyWordsKey}) {
      store.remove(key);
    }
  });
}

}  // namespace yakdrom
