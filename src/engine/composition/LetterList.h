// The letters of one of a syllable's lists (its subjoined letters, its vowel signs), kept
// inside the value: the engine copies the syllable on every key, and a list on the heap
// would make every copy an allocation. Orthography lets a syllable hold at most two of
// each (a second vowel sign only lengthens ◌ཱ; a suffix becomes subjoined only before a
// vowel sign), so the room is ample.
#pragma once

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <new>
#include <string>
#include <string_view>

namespace yakdrom {

class LetterList {
 public:
  static constexpr std::size_t kCapacity = 6;

  LetterList() = default;
  LetterList(std::initializer_list<std::string_view> letters) {
    for (const std::string_view letter : letters) push_back(letter);
  }
  LetterList(const LetterList& other) { append(other.begin(), other.end()); }
  LetterList(LetterList&& other) noexcept {
    for (std::string& letter : other) new (slot(size_++)) std::string(std::move(letter));
  }
  LetterList& operator=(const LetterList& other) {
    if (this != &other) assign(other.begin(), other.end());
    return *this;
  }
  LetterList& operator=(LetterList&& other) noexcept {
    if (this != &other) {
      clear();
      for (std::string& letter : other) new (slot(size_++)) std::string(std::move(letter));
    }
    return *this;
  }
  ~LetterList() { clear(); }

  /// Appends `letter`; the list must hold fewer than kCapacity letters.
  void push_back(std::string_view letter) {
    assert(size_ < kCapacity);
    new (slot(size_++)) std::string(letter);
  }
  void pop_back() { std::destroy_at(begin() + --size_); }
  void clear() {
    while (size_ > 0) pop_back();
  }

  [[nodiscard]] bool empty() const { return size_ == 0; }
  [[nodiscard]] std::size_t size() const { return size_; }
  [[nodiscard]] const std::string& back() const { return begin()[size_ - 1]; }
  [[nodiscard]] std::string* begin() { return std::launder(reinterpret_cast<std::string*>(room_)); }
  [[nodiscard]] std::string* end() { return begin() + size_; }
  [[nodiscard]] const std::string* begin() const {
    return std::launder(reinterpret_cast<const std::string*>(room_));
  }
  [[nodiscard]] const std::string* end() const { return begin() + size_; }

  friend bool operator==(const LetterList& a, const LetterList& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
  }

 private:
  [[nodiscard]] void* slot(std::size_t index) { return room_ + index * sizeof(std::string); }
  void append(const std::string* first, const std::string* last) {
    for (; first != last; ++first) push_back(*first);
  }
  // Assigning over the letters already there keeps their strings.
  void assign(const std::string* first, const std::string* last) {
    while (size_ > static_cast<std::size_t>(last - first)) pop_back();
    std::copy(first, first + size_, begin());
    append(first + size_, last);
  }

  // Only the first size_ strings are alive.
  alignas(std::string) std::byte room_[kCapacity * sizeof(std::string)];
  std::size_t size_ = 0;
};

}  // namespace yakdrom
