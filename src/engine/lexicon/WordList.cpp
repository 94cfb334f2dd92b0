#include "engine/lexicon/WordList.h"

#include <stdexcept>
#include <utility>

#include "engine/text/Text.h"

namespace yakdrom {
namespace {

static_assert(std::random_access_iterator<WordList::Iterator>);

template <typename Words>
WordList listOf(const Words& words) {
  std::size_t bytes = 0;
  for (const auto& word : words) bytes += std::string_view(word).size();
  WordList::Builder builder;
  builder.reserve(words.size(), bytes);
  for (const auto& word : words) {
    if (!builder.append(word)) throw std::length_error("a word list holds at most 4 GiB of text");
  }
  return builder.build();
}

}  // namespace

WordList::WordList(std::initializer_list<std::string_view> words) : WordList(listOf(words)) {}

WordList::WordList(const std::vector<std::string>& words) : WordList(listOf(words)) {}

WordList::Iterator WordList::begin() const { return {this, 0}; }

WordList::Iterator WordList::end() const {
  return {this, static_cast<Iterator::difference_type>(size())};
}

void WordList::Builder::reserve(std::size_t count, std::size_t bytes) {
  list_.ends_.reserve(list_.ends_.size() + count);
  list_.bytes_.reserve(list_.bytes_.size() + bytes);
}

bool WordList::Builder::append(std::string_view word) {
  // Lexicon text is nearly always well-formed: check it where it lies and copy it once.
  if (text::isWellFormedUtf8(word)) return appendWellFormed(word);
  return appendWellFormed(text::sanitizeUtf8(word));
}

WordList WordList::Builder::build() { return std::exchange(list_, WordList()); }

bool WordList::Builder::appendWellFormed(std::string_view word) {
  auto& bytes = list_.bytes_;
  if (word.size() > kMaxBytes - bytes.size()) return false;
  bytes.insert(bytes.end(), word.begin(), word.end());
  list_.ends_.push_back(static_cast<std::uint32_t>(bytes.size()));
  return true;
}

}  // namespace yakdrom
