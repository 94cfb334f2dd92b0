#include "engine/lexicon/DictionaryEngine.h"

#include <algorithm>
#include <utility>

#include "engine/learning/AtomicFile.h"
#include "engine/lexicon/LexiconText.h"
#include "engine/text/Text.h"

namespace yakdrom {
namespace {

// On NFC text, UTF-8 byte order is the lexicon order, so a query normalised once compares
// bytewise against every word.
WordList::Iterator lowerBound(const WordList& words, std::string_view query) {
  return std::lower_bound(words.begin(), words.end(), query);
}

}  // namespace

void DictionaryEngine::install(WordList words) {
  auto list = std::make_shared<const WordList>(std::move(words));
  {
    std::lock_guard lock(mutex_);
    words_.swap(list);
    ++version_;
  }
  // `list` now holds the old words, which are freed here, outside the lock.
}

std::size_t DictionaryEngine::count() const { return snapshot().words->size(); }

bool DictionaryEngine::contains(std::string_view word) const {
  if (word.empty()) return false;
  const auto words = snapshot().words;
  const std::string query = text::nfc(text::sanitizeUtf8(word));
  const auto it = lowerBound(*words, query);
  return it != words->end() && text::canonicallyEqual(*it, query);
}

std::vector<std::string> DictionaryEngine::candidates(std::string_view prefix, int limit) const {
  std::vector<std::string> out;
  out.resize(candidatesInto(prefix, limit, out, 0));
  return out;
}

std::size_t DictionaryEngine::candidatesInto(std::string_view prefix, int limit,
                                             std::vector<std::string>& room,
                                             std::size_t from) const {
  if (prefix.empty() || limit <= 0) return from;
  const Snapshot snap = snapshot();
  if (ruledOut(snap, prefix)) return from;
  const WordList& words = *snap.words;
  // Typed Tibetan is nearly always NFC already and then needs no normalised copy.
  std::string normalized;
  const std::string_view query = text::wellFormedNfc(prefix, normalized);
  const auto [low, high] = searchRange(snap, query);
  const auto begins = [&query](std::string_view word) { return word.starts_with(query); };
  const auto first = std::lower_bound(words.begin() + low, words.begin() + high, query);
  const auto last = std::partition_point(first, words.begin() + high, begins);
  rememberRange(snap, prefix, query, static_cast<std::size_t>(first - words.begin()),
                static_cast<std::size_t>(last - words.begin()));
  const auto wanted = std::min(static_cast<std::ptrdiff_t>(limit), last - first);
  std::size_t end = from;
  for (auto it = first; it - first < wanted && text::hasCharacterPrefix(*it, query); ++it) {
    if (end < room.size()) {
      room[end].assign(*it);
    } else {
      room.emplace_back(*it);
    }
    ++end;
  }
  return end;
}

// Every word that begins with the query begins with the last one, so it lies in its run.
std::pair<std::size_t, std::size_t> DictionaryEngine::searchRange(const Snapshot& words,
                                                                  std::string_view query) const {
  std::lock_guard lock(narrowingMutex_);
  if (narrowing_.version == words.version && query.starts_with(narrowing_.query)) {
    return {narrowing_.first, narrowing_.last};
  }
  return {0, words.words->size()};
}

void DictionaryEngine::rememberRange(const Snapshot& words, std::string_view prefix,
                                     std::string_view query, std::size_t first,
                                     std::size_t last) const {
  std::lock_guard lock(narrowingMutex_);
  narrowing_.query.assign(query);
  narrowing_.first = first;
  narrowing_.last = last;
  narrowing_.version = words.version;
  if (first == last) failed_.note(prefix, words.version);
}

bool DictionaryEngine::ruledOut(const Snapshot& words, std::string_view prefix) const {
  std::lock_guard lock(narrowingMutex_);
  return failed_.rulesOut(prefix, words.version);
}

bool DictionaryEngine::loadCSV(const std::filesystem::path& path) {
  const auto bytes = detail::AtomicFile::read(path);
  // Stray binary data must not become words.
  if (!bytes || !text::isWellFormedUtf8(bytes.value())) return false;
  WordList::Builder words;
  bool fits = true;
  detail::forEachLexiconLine(bytes.value(), [&](std::string_view word, std::string_view) {
    fits = fits && words.append(word);
  });
  // Words past what a list can hold make the file as unusable as an unreadable one.
  if (!fits) return false;
  const bool found = words.size() > 0;
  install(words.build());
  return found;
}

DictionaryEngine::Snapshot DictionaryEngine::snapshot() const {
  std::lock_guard lock(mutex_);
  return {words_, version_};
}

}  // namespace yakdrom
