#include "engine/lexicon/TibetanDictionary.h"

#include <utility>

#include "engine/composition/Letters.h"
#include "engine/learning/AtomicFile.h"
#include "engine/lexicon/LexiconText.h"
#include "engine/text/Text.h"

namespace yakdrom {

TibetanDictionary& TibetanDictionary::shared() {
  static TibetanDictionary instance;
  return instance;
}

std::string TibetanDictionary::normalize(std::string_view word) {
  const std::string clean = text::sanitizeUtf8(word);
  const std::string_view trimmed = text::trimWhitespace(clean);
  // Characters, not scalars: a tsheg that a following mark attaches to is not a bare tsheg.
  auto chars = text::characters(trimmed);
  std::size_t end = trimmed.size();
  while (!chars.empty() && chars.back() == detail::letters::kTsheg) {
    end -= chars.back().size();
    chars.pop_back();
  }
  return text::nfc(trimmed.substr(0, end));
}

void TibetanDictionary::install(ExplanationMap entries, ExplanationMap chinese,
                                ExplanationMap english) {
  std::unique_lock lock(mutex_);
  std::swap(entries_, entries);
  std::swap(chineseEntries_, chinese);
  std::swap(englishEntries_, english);
  loaded_ = true;
  // The old maps are freed by the parameters' destructors after the lock is released.
  lock.unlock();
}

bool TibetanDictionary::load(const std::filesystem::path& path) {
  const auto bytes = detail::AtomicFile::read(path);
  // Ill-formed text is no explanation file, and must not wipe out the one installed.
  if (!bytes || !text::isWellFormedUtf8(bytes.value())) return false;
  ExplanationMap entries;
  detail::forEachLexiconLine(bytes.value(), [&](std::string_view word, std::string_view rest) {
    std::string explanation = text::removeWhitespace(rest);
    if (!explanation.empty()) entries.insert_or_assign(normalize(word), std::move(explanation));
  });
  const bool found = !entries.empty();
  install(std::move(entries), {}, {});
  return found;
}

std::size_t TibetanDictionary::count() const {
  std::lock_guard lock(mutex_);
  return entries_.size();
}

bool TibetanDictionary::isLoaded() const {
  std::lock_guard lock(mutex_);
  return loaded_;
}

std::optional<std::string> TibetanDictionary::explanation(std::string_view word) const {
  return find(&TibetanDictionary::entries_, word);
}

std::optional<std::string> TibetanDictionary::chineseExplanation(std::string_view word) const {
  return find(&TibetanDictionary::chineseEntries_, word);
}

std::optional<std::string> TibetanDictionary::englishExplanation(std::string_view word) const {
  return find(&TibetanDictionary::englishEntries_, word);
}

std::optional<std::string> TibetanDictionary::find(const ExplanationMap TibetanDictionary::*map,
                                                   std::string_view word) const {
  const std::string key = normalize(word);
  std::lock_guard lock(mutex_);
  const auto& entries = this->*map;
  const auto it = entries.find(key);
  if (it == entries.end()) return std::nullopt;
  return it->second;
}

}  // namespace yakdrom
