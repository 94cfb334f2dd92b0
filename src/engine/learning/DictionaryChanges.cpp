#include "engine/learning/DictionaryChanges.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace yakdrom {
namespace {

constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max();

// Frequencies and their increments are never negative.
std::int64_t saturatingSum(std::int64_t a, std::int64_t b) {
  return a > kLargest - b ? kLargest : a + b;
}

}  // namespace

std::int64_t DictionaryChanges::Change::applied(std::int64_t freq) const {
  return absolute ? value : std::max(saturatingSum(freq, add), atLeast);
}

// Both forms are closed under composition: an absolute change followed by anything stays
// absolute, and max(max(f + a1, m1) + a2, m2) is max(f + a1 + a2, max(m1 + a2, m2)).
DictionaryChanges::Change DictionaryChanges::Change::then(const Change& later) const {
  if (later.absolute) return later;
  if (absolute) return {true, later.applied(value), 0, 0};
  return {false, 0, saturatingSum(add, later.add),
          std::max(saturatingSum(atLeast, later.add), later.atLeast)};
}

void DictionaryChanges::add(std::string_view word, std::int64_t uses) {
  record(word, {false, 0, uses, 0});
}

void DictionaryChanges::raiseTo(std::string_view word, std::int64_t freq) {
  record(word, {false, 0, 0, freq});
}

void DictionaryChanges::set(std::string_view word, std::int64_t freq) {
  record(word, {true, freq, 0, 0});
}

void DictionaryChanges::remove(std::string_view word) { record(word, {true, 0, 0, 0}); }

void DictionaryChanges::record(std::string_view word, const Change& change) {
  const auto it = changes_.find(word);
  if (it != changes_.end()) {
    it->second = it->second.then(change);
  } else {
    changes_.emplace(word, change);
  }
}

void DictionaryChanges::recordDifference(const UserWords& before, const UserWords& after) {
  auto old = before.begin();
  for (const UserWord& entry : after) {
    for (; old != before.end() && old->word < entry.word; ++old) remove(old->word);
    const bool kept = old != before.end() && old->word == entry.word;
    if (!kept || old->freq != entry.freq) set(entry.word, entry.freq);
    if (kept) ++old;
  }
  for (; old != before.end(); ++old) remove(old->word);
}

void DictionaryChanges::followOn(const DictionaryChanges& earlier) {
  for (const auto& [word, change] : earlier.changes_) {
    const auto it = changes_.find(word);
    if (it == changes_.end()) {
      changes_.emplace(word, change);
    } else {
      it->second = change.then(it->second);
    }
  }
}

void DictionaryChanges::applyTo(UserWords& words) const {
  std::vector<UserWord> updates;
  updates.reserve(changes_.size());
  for (const auto& [word, change] : changes_) {
    const UserWord* stored = words.find(word);
    const std::int64_t freq = stored != nullptr ? stored->freq : 0;
    const std::int64_t next = change.applied(freq);
    if (next != freq) updates.push_back({word, next});
  }
  std::sort(updates.begin(), updates.end(),
            [](const UserWord& a, const UserWord& b) { return a.word < b.word; });
  words.update(updates);
}

}  // namespace yakdrom
