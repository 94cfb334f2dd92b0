// The lexicon's words, stored compactly: all text in one buffer and a table of 32-bit end
// offsets, two allocations however many words. Immutable once built, so a const list may
// be read from any thread; a builder belongs to one thread.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/lexicon/HugePageAllocator.h"

namespace yakdrom {

class WordList {
 public:
  class Iterator;
  class Builder;
  using value_type = std::string_view;
  using iterator = Iterator;
  using const_iterator = Iterator;

  /// The most text bytes a list can hold; its offsets are 32-bit.
  static constexpr std::size_t kMaxBytes = std::numeric_limits<std::uint32_t>::max();

  WordList() = default;

  /// Holds `words` in the given order, ill-formed UTF-8 read as U+FFFD; throws
  /// std::length_error past kMaxBytes.
  WordList(std::initializer_list<std::string_view> words);

  /// Holds `words` in the given order, like the list form. Implicit: a vector of words and
  /// a word list are two forms of one value.
  WordList(const std::vector<std::string>& words);

  /// Returns the number of words.
  [[nodiscard]] std::size_t size() const { return ends_.size(); }

  /// Returns true when the list holds no word.
  [[nodiscard]] bool empty() const { return ends_.empty(); }

  /// Returns word `k` (below size()), valid as long as the list.
  [[nodiscard]] std::string_view operator[](std::size_t k) const {
    const std::size_t start = k == 0 ? 0 : ends_[k - 1];
    return {bytes_.data() + start, ends_[k] - start};
  }

  /// Returns an iterator at the first word.
  [[nodiscard]] Iterator begin() const;

  /// Returns an iterator past the last word.
  [[nodiscard]] Iterator end() const;

  bool operator==(const WordList&) const = default;

 private:
  template <typename T>
  using Storage = std::vector<T, detail::HugePageAllocator<T>>;

  Storage<char> bytes_;
  Storage<std::uint32_t> ends_;  // word k spans [ends_[k-1], ends_[k]), word 0 from 0
};

/// Walks a list by index, yielding each word as a view into it.
class WordList::Iterator {
 public:
  using iterator_concept = std::random_access_iterator_tag;
  using iterator_category = std::random_access_iterator_tag;
  using value_type = std::string_view;
  using difference_type = std::ptrdiff_t;
  using reference = std::string_view;
  using pointer = void;

  Iterator() = default;

  std::string_view operator*() const { return (*list_)[static_cast<std::size_t>(index_)]; }
  std::string_view operator[](difference_type n) const { return *(*this + n); }

  Iterator& operator++() { return *this += 1; }
  Iterator operator++(int) { return std::exchange(*this, *this + 1); }
  Iterator& operator--() { return *this -= 1; }
  Iterator operator--(int) { return std::exchange(*this, *this - 1); }
  Iterator& operator+=(difference_type n) {
    index_ += n;
    return *this;
  }
  Iterator& operator-=(difference_type n) { return *this += -n; }
  friend Iterator operator+(Iterator it, difference_type n) { return it += n; }
  friend Iterator operator+(difference_type n, Iterator it) { return it += n; }
  friend Iterator operator-(Iterator it, difference_type n) { return it -= n; }
  friend difference_type operator-(const Iterator& a, const Iterator& b) {
    return a.index_ - b.index_;
  }

  bool operator==(const Iterator& other) const { return index_ == other.index_; }
  std::strong_ordering operator<=>(const Iterator& other) const { return index_ <=> other.index_; }

 private:
  friend class WordList;
  Iterator(const WordList* list, difference_type index) : list_(list), index_(index) {}

  const WordList* list_ = nullptr;
  difference_type index_ = 0;
};

/// Fills a list word by word. A reserve sized from the source makes the appends allocate
/// nothing.
class WordList::Builder {
 public:
  /// Makes room for `count` more words of `bytes` bytes of text in all.
  void reserve(std::size_t count, std::size_t bytes);

  /// Appends `word`, each ill-formed UTF-8 sequence read as U+FFFD. Returns false, adding
  /// nothing, when the list would pass kMaxBytes.
  [[nodiscard]] bool append(std::string_view word);

  /// Returns the number of words appended so far.
  [[nodiscard]] std::size_t size() const { return list_.size(); }

  /// Returns the list and leaves the builder empty.
  [[nodiscard]] WordList build();

 private:
  [[nodiscard]] bool appendWellFormed(std::string_view word);

  WordList list_;
};

}  // namespace yakdrom
