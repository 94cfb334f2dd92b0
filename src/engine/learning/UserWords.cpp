#include "engine/learning/UserWords.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace yakdrom {
namespace {

using Table = std::vector<UserWord, detail::HugePageAllocator<UserWord>>;

// Blocks for words added one by one start small and double, so a few learnt words cost
// little and many cost few blocks; from a quarter MiB on they come in huge pages.
constexpr std::size_t kFirstBlock = std::size_t{4} << 10;
constexpr std::size_t kLargestBlock = std::size_t{1} << 20;

// Runs shorter than this are lengthened by insertion before merging.
constexpr std::size_t kShortestRun = 32;

bool wordLess(const UserWord& a, const UserWord& b) { return a.word < b.word; }

bool liesWithin(std::string_view inner, std::string_view outer) {
  const std::less_equal<const char*> notAfter;
  return notAfter(outer.data(), inner.data()) &&
         notAfter(inner.data() + inner.size(), outer.data() + outer.size());
}

Table::const_iterator lowerBoundIn(const Table& table, std::string_view key) {
  return std::lower_bound(table.begin(), table.end(), key,
                          [](const UserWord& entry, std::string_view k) { return entry.word < k; });
}

// A sorted run of the table awaiting its merge. `power` belongs to the boundary with the
// run after it.
struct Run {
  std::size_t begin = 0;
  std::size_t size = 0;
  int power = 0;
};

// Powersort's rule for the order of merges: the depth, in a balanced binary split of the
// whole table, of the split that falls between the midpoints of two adjacent runs. Merging
// by it costs about as many comparisons as the runs' sizes demand, not n log n.
int boundaryPower(std::size_t begin, std::size_t size1, std::size_t size2, std::size_t total) {
  // Twice the midpoints, as fractions of 2 * total, compared binary digit by digit.
  std::size_t a = 2 * begin + size1;
  std::size_t b = a + size1 + size2;
  int power = 0;
  for (;;) {
    ++power;
    if (a >= total) {
      a -= total;
      b -= total;
    } else if (b >= total) {
      return power;
    }
    a <<= 1;
    b <<= 1;
  }
}

// Merges the adjacent sorted ranges [begin, middle) and [middle, end), ties left first.
void mergeRuns(Table& table, std::size_t begin, std::size_t middle, std::size_t end,
               Table& scratch) {
  const auto at = [&table](std::size_t k) {
    return table.begin() + static_cast<std::ptrdiff_t>(k);
  };
  // Words at the start of the left run and at the end of the right run are in place.
  const auto left = std::upper_bound(at(begin), at(middle), table[middle], wordLess);
  const auto rightEnd = std::lower_bound(at(middle), at(end), table[middle - 1], wordLess);
  scratch.assign(left, at(middle));
  auto out = left;
  auto right = at(middle);
  for (auto next = scratch.begin(); next != scratch.end();) {
    *out++ = (right != rightEnd && wordLess(*right, *next)) ? *right++ : *next++;
  }
}

void sortByWord(Table& table) {
  const std::size_t total = table.size();
  std::vector<Run> pending;
  Table scratch;
  const auto mergeLastTwo = [&] {
    Run& left = pending[pending.size() - 2];
    const Run& right = pending.back();
    if (scratch.capacity() == 0) scratch.reserve(total);
    mergeRuns(table, left.begin, right.begin, right.begin + right.size, scratch);
    left.size += right.size;
    pending.pop_back();
  };
  for (std::size_t begin = 0; begin < total;) {
    std::size_t end = begin + 1;
    while (end < total && !wordLess(table[end], table[end - 1])) ++end;
    // Words in no order would make runs of two: lengthen short runs by insertion first.
    for (const std::size_t least = std::min(total, begin + kShortestRun); end < least; ++end) {
      const auto from = table.begin() + static_cast<std::ptrdiff_t>(begin);
      const auto next = table.begin() + static_cast<std::ptrdiff_t>(end);
      std::rotate(std::upper_bound(from, next, *next, wordLess), next, next + 1);
    }
    if (!pending.empty()) {
      const int power =
          boundaryPower(pending.back().begin, pending.back().size, end - begin, total);
      while (pending.size() > 1 && pending[pending.size() - 2].power > power) mergeLastTwo();
      pending.back().power = power;
    }
    pending.push_back({begin, end - begin, 0});
    begin = end;
  }
  while (pending.size() > 1) mergeLastTwo();
}

// Keeps each word of a sorted table once, with its largest frequency.
void dropRepeats(Table& table) {
  auto kept = table.begin();
  for (auto it = table.begin(); it != table.end(); ++it) {
    if (kept != table.begin() && std::prev(kept)->word == it->word) {
      std::prev(kept)->freq = std::max(std::prev(kept)->freq, it->freq);
    } else {
      *kept++ = *it;
    }
  }
  table.erase(kept, table.end());
}

}  // namespace

UserWords::UserWords(std::initializer_list<UserWord> words) {
  Builder builder(std::make_shared<const detail::LargeString>(), words.size());
  for (const UserWord& entry : words) builder.add(entry.word, entry.freq);
  *this = std::move(builder).build();
}

UserWords::UserWords(const UserWords& other) : table_(other.table_), blocks_(other.blocks_) {}

UserWords& UserWords::operator=(const UserWords& other) {
  if (this == &other) return *this;
  table_ = other.table_;
  blocks_ = other.blocks_;
  open_.reset();
  return *this;
}

UserWords::const_iterator UserWords::lowerBound(std::string_view key) const {
  return begin() + (lowerBoundIn(table_, key) - table_.begin());
}

const UserWord* UserWords::find(std::string_view word) const {
  const const_iterator it = lowerBound(word);
  return it != end() && it->word == word ? it : nullptr;
}

const UserWord& UserWords::set(std::string_view word, std::int64_t freq) {
  const auto at = lowerBoundIn(table_, word);
  if (at == table_.cend() || at->word != word) return *table_.insert(at, {store(word), freq});
  UserWord& entry = table_[static_cast<std::size_t>(at - table_.cbegin())];
  entry.freq = freq;
  return entry;
}

void UserWords::update(std::span<const UserWord> updates) {
  if (updates.empty()) return;
  Table merged;
  merged.reserve(table_.size() + updates.size());
  auto stored = table_.cbegin();
  for (const UserWord& entry : updates) {
    for (; stored != table_.cend() && stored->word < entry.word; ++stored)
      merged.push_back(*stored);
    const bool present = stored != table_.cend() && stored->word == entry.word;
    if (entry.freq > 0) merged.push_back({present ? stored->word : store(entry.word), entry.freq});
    if (present) ++stored;
  }
  merged.insert(merged.end(), stored, table_.cend());
  table_ = std::move(merged);
}

bool UserWords::mergeKeepingLarger(const UserWords& other) {
  // Raise the stored words first and count the missing ones, so that the table grows once
  // and the missing words can then be merged in from the back, in place.
  bool changed = false;
  std::size_t missing = 0;
  auto stored = table_.begin();
  for (const UserWord& entry : other.table_) {
    stored = std::lower_bound(stored, table_.end(), entry, wordLess);
    if (stored == table_.end() || stored->word != entry.word) {
      ++missing;
    } else if (stored->freq < entry.freq) {
      stored->freq = entry.freq;
      changed = true;
    }
  }
  if (missing == 0) return changed;
  std::size_t from = table_.size();
  std::size_t incoming = other.size();
  table_.resize(from + missing);
  for (std::size_t to = table_.size(); to > from;) {
    const UserWord& entry = other.table_[incoming - 1];
    if (from > 0 && !wordLess(table_[from - 1], entry)) {
      if (table_[from - 1].word == entry.word) --incoming;
      table_[--to] = table_[--from];
    } else {
      table_[--to] = {store(entry.word), entry.freq};
      --incoming;
    }
  }
  return true;
}

bool UserWords::operator==(const UserWords& other) const {
  return std::equal(table_.begin(), table_.end(), other.table_.begin(), other.table_.end());
}

std::string_view UserWords::store(std::string_view bytes) {
  if (!open_ || open_->capacity() - open_->size() < bytes.size()) {
    const std::size_t previous = open_ ? open_->capacity() : 0;
    auto block = std::make_shared<detail::LargeString>();
    block->reserve(std::max(bytes.size(), std::clamp(2 * previous, kFirstBlock, kLargestBlock)));
    blocks_.push_back(block);
    open_ = std::move(block);
  }
  // Within the capacity, so the block's earlier bytes stay where they are.
  const std::size_t at = open_->size();
  open_->append(bytes);
  return {open_->data() + at, bytes.size()};
}

UserWords::Builder::Builder(std::shared_ptr<const detail::LargeString> text, std::size_t expected)
    : text_(*text) {
  words_.blocks_.push_back(std::move(text));
  words_.table_.reserve(expected);
}

void UserWords::Builder::add(std::string_view word, std::int64_t freq) {
  words_.table_.push_back({liesWithin(word, text_) ? word : words_.store(word), freq});
}

UserWords UserWords::Builder::build() && {
  sortByWord(words_.table_);
  dropRepeats(words_.table_);
  return std::move(words_);
}

}  // namespace yakdrom
