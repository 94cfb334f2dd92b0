#include "engine/lexicon/LexiconWriter.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "engine/learning/AtomicFile.h"
#include "engine/lexicon/PackedFormat.h"
#include "engine/text/Text.h"

namespace yakdrom {
namespace {

using Texts = std::vector<std::string_view>;

constexpr std::uint64_t kMaxU32 = std::numeric_limits<std::uint32_t>::max();
constexpr std::string_view kCsvHeader = "word,explanation\n";

// Appends an offset table and its text block; returns false past the format's 32-bit sizes.
bool appendItems(std::string& out, const Texts& items, std::uint32_t& blockBytes) {
  std::uint64_t total = 0;
  for (const auto item : items) total += item.size();
  if (items.size() >= kMaxU32 || total > kMaxU32) return false;
  std::uint32_t offset = 0;
  detail::appendU32(out, offset);
  for (const auto item : items) {
    offset += static_cast<std::uint32_t>(item.size());
    detail::appendU32(out, offset);
  }
  for (const auto item : items) out.append(item);
  blockBytes = static_cast<std::uint32_t>(total);
  return true;
}

bool appendTable(std::string& out, const ExplanationMap& map, detail::PackedTableSizes& sizes) {
  std::vector<std::pair<std::string_view, std::string_view>> entries(map.begin(), map.end());
  std::sort(entries.begin(), entries.end());
  Texts keys;
  Texts values;
  keys.reserve(entries.size());
  values.reserve(entries.size());
  for (const auto& [key, value] : entries) {
    keys.push_back(key);
    values.push_back(value);
  }
  sizes.count = static_cast<std::uint32_t>(entries.size());
  return appendItems(out, keys, sizes.keyBytes) && appendItems(out, values, sizes.valueBytes);
}

// The text form's reader trims words and cuts lines at the first comma; a word that would
// not survive that cannot be written.
bool fitsCsv(std::string_view word) {
  return !word.empty() && text::trimWhitespace(word) == word &&
         word.find_first_of(",\n\r") == std::string_view::npos;
}

// The text form's reader drops whitespace from explanations; line breaks cannot stand in
// a line at all.
std::string csvExplanation(std::string_view explanation) {
  std::string out;
  for (const char32_t c : text::decodeUtf8(explanation)) {
    if (!text::isWhitespaceOrNewline(c)) text::appendUtf8(out, c);
  }
  return out;
}

}  // namespace

LexiconForm LexiconWriter::formFor(const std::filesystem::path& path) {
  return path.extension() == ".dat" ? LexiconForm::packed : LexiconForm::commaSeparated;
}

std::optional<std::string> LexiconWriter::pack(const DictionaryLoader::Result& content) {
  detail::PackedHeader header;
  header.wordCount = static_cast<std::uint32_t>(content.words.size());
  std::string out(detail::kPackedHeaderSize, '\0');
  const Texts words(content.words.begin(), content.words.end());
  const ExplanationMap* const maps[] = {&content.explanations, &content.chineseExplanations,
                                        &content.englishExplanations};
  if (!appendItems(out, words, header.wordBytes)) return std::nullopt;
  for (std::size_t t = 0; t < header.tables.size(); ++t) {
    if (!appendTable(out, *maps[t], header.tables[t])) return std::nullopt;
  }
  if (out.size() != header.fileLength()) return std::nullopt;
  out.replace(0, detail::kPackedHeaderSize, header.encode());
  return out;
}

std::optional<std::string> LexiconWriter::toCSV(const DictionaryLoader::Result& content) {
  std::string out(kCsvHeader);
  for (const auto& word : content.words) {
    if (!fitsCsv(word)) return std::nullopt;
    out += word;
    out += ',';
    const auto it = content.explanations.find(TibetanDictionary::normalize(word));
    if (it != content.explanations.end()) out += csvExplanation(it->second);
    out += '\n';
  }
  return out;
}

std::optional<std::string> LexiconWriter::encode(const DictionaryLoader::Result& content,
                                                 LexiconForm form) {
  if (form == LexiconForm::commaSeparated) return toCSV(content);
  auto bytes = pack(content);
  if (bytes) detail::scrambleInPlace(*bytes, 0);
  return bytes;
}

FileResult<std::size_t> LexiconWriter::write(const std::filesystem::path& path,
                                             std::string_view bytes) {
  return detail::AtomicFile::write(path, bytes);
}

}  // namespace yakdrom
