#include "engine/lexicon/LexiconBuilder.h"

#include <algorithm>
#include <string>
#include <utility>

#include "engine/composition/Letters.h"
#include "engine/learning/AtomicFile.h"
#include "engine/text/Text.h"

namespace yakdrom {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isTibetan(char32_t c) { return c >= 0x0F00 && c <= 0x0FFF; }

bool isLetter(char32_t c) { return c >= 0x0F40 && c <= 0x0F6C; }

// Tsheg, non-breaking tsheg, shad and double shad close a word; they are not part of it.
bool closesWord(char32_t c) { return c >= 0x0F0B && c <= 0x0F0E; }

bool isBlank(std::string_view line) { return text::trimWhitespaceAndNewlines(line).empty(); }

std::vector<std::string_view> linesOf(std::string_view text) {
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  return text::splitLines(text);
}

}  // namespace

LexiconBuilder::CleanWord LexiconBuilder::cleanWord(std::string_view word) {
  const std::string_view trimmed = text::trimWhitespaceAndNewlines(word);
  if (!text::isWellFormedUtf8(trimmed)) return {std::nullopt, "not valid UTF-8"};
  const std::u32string scalars = text::decodeUtf8(trimmed);
  if (!std::all_of(scalars.begin(), scalars.end(), isTibetan)) {
    return {std::nullopt, "the word holds a character outside the Tibetan block"};
  }
  std::string clean = text::nfc(trimmed);
  while (!clean.empty() && closesWord(text::lastScalar(clean))) text::removeLastScalar(clean);
  if (clean.empty()) return {std::nullopt, "the word holds no letter"};
  if (!isLetter(text::firstScalar(clean))) {
    return {std::nullopt, "the word does not start with a Tibetan letter"};
  }
  clean += detail::letters::kTsheg;
  return {std::move(clean), {}};
}

void LexiconBuilder::addWords(std::string_view text, std::string_view fileName) {
  const auto lines = linesOf(text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (isBlank(lines[i])) continue;
    auto clean = cleanWord(lines[i]);
    if (clean.word) {
      words_.push_back(*clean.word);
    } else {
      report(fileName, i + 1, clean.problem);
    }
  }
}

void LexiconBuilder::addExplanations(Language language, std::string_view text,
                                     std::string_view fileName) {
  const auto lines = linesOf(text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    if (isBlank(line)) continue;
    const auto tab = line.find('\t');
    if (tab == std::string_view::npos) {
      report(fileName, i + 1, "no TAB between the word and its explanation");
      continue;
    }
    const auto clean = cleanWord(line.substr(0, tab));
    const std::string_view explanation = text::trimWhitespaceAndNewlines(line.substr(tab + 1));
    if (!clean.word) {
      report(fileName, i + 1, clean.problem);
    } else if (!text::isWellFormedUtf8(explanation)) {
      report(fileName, i + 1, "not valid UTF-8");
    } else if (explanation.empty()) {
      report(fileName, i + 1, "the explanation is empty");
    } else {
      addExplanation(language, *clean.word, explanation, {std::string(fileName), i + 1});
      // An explained word is a word: without it in the list its explanation could never be
      // offered, since only listed words become candidates.
      words_.push_back(*clean.word);
    }
  }
}

FileStatus LexiconBuilder::addWordFile(const std::filesystem::path& path) {
  const auto bytes = detail::AtomicFile::read(path);
  if (!bytes) return bytes.error();
  addWords(bytes.value(), path.string());
  return std::monostate{};
}

FileStatus LexiconBuilder::addExplanationFile(Language language,
                                              const std::filesystem::path& path) {
  const auto bytes = detail::AtomicFile::read(path);
  if (!bytes) return bytes.error();
  addExplanations(language, bytes.value(), path.string());
  return std::monostate{};
}

DictionaryLoader::Result LexiconBuilder::build() const {
  // Every word is NFC, where byte order is the lexicon order the word list bisects in.
  auto words = words_;
  std::sort(words.begin(), words.end());
  words.erase(std::unique(words.begin(), words.end()), words.end());
  return {WordList(words), tibetan_, chinese_, english_};
}

void LexiconBuilder::addExplanation(Language language, const std::string& word,
                                    std::string_view explanation, Origin origin) {
  std::string key = TibetanDictionary::normalize(word);
  auto& origins = origins_[static_cast<std::size_t>(language)];
  const auto [known, fresh] = origins.try_emplace(key, origin);
  if (!fresh) {
    // The earlier line is the one left out, so the report points at it.
    report(known->second.file, known->second.line,
           "duplicate explanation of " + word + "; the later one (" + origin.file + ":" +
               std::to_string(origin.line) + ") is kept");
    known->second = std::move(origin);
  }
  explanations(language).insert_or_assign(std::move(key), std::string(explanation));
}

void LexiconBuilder::report(std::string_view file, std::size_t line, std::string_view reason) {
  issues_.push_back({std::string(file), line, std::string(reason)});
}

ExplanationMap& LexiconBuilder::explanations(Language language) {
  switch (language) {
    case Language::chinese:
      return chinese_;
    case Language::english:
      return english_;
    case Language::tibetan:
      break;
  }
  return tibetan_;
}

}  // namespace yakdrom
