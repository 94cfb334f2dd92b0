#include "engine/lexicon/DictionaryLoader.h"

#include <algorithm>

#include "engine/learning/AtomicFile.h"
#include "engine/lexicon/LexiconText.h"
#include "engine/lexicon/PackedFormat.h"
#include "engine/lexicon/PackedReader.h"
#include "engine/text/Text.h"

namespace yakdrom {
namespace {

// The text form reserves room for this many entries at most, sized for a typical word list.
constexpr std::size_t kTextReserve = 60000;

bool isPackedPath(const std::filesystem::path& path) { return path.extension() == ".dat"; }

}  // namespace

std::optional<DictionaryLoader::Result> DictionaryLoader::load(const std::filesystem::path& path) {
  if (isPackedPath(path)) {
    // Streaming from the file keeps the peak memory near that of the result alone.
    if (auto file = detail::ScrambledFileSource::open(path)) {
      if (auto result = detail::PackedReader::read(*file)) return result;
    }
  }
  auto bytes = detail::AtomicFile::read(path);
  if (!bytes) return std::nullopt;
  if (!isPackedPath(path)) return parseCSV(bytes.value());
  detail::scrambleInPlace(bytes.value(), 0);
  // Parsing the bytes again also covers files whose size was unknown before reading.
  if (auto result = parseBinary(bytes.value())) return result;
  return parseCSV(bytes.value());
}

std::optional<LexiconForm> DictionaryLoader::formOf(const std::filesystem::path& path) {
  // The same order as load, so a packed file is checked without holding it whole.
  if (isPackedPath(path)) {
    auto file = detail::ScrambledFileSource::open(path);
    if (file && detail::PackedReader::read(*file)) return LexiconForm::packed;
  }
  auto bytes = detail::AtomicFile::read(path);
  if (!bytes) return std::nullopt;
  if (isPackedPath(path)) {
    detail::scrambleInPlace(bytes.value(), 0);
    if (parseBinary(bytes.value())) return LexiconForm::packed;
  }
  if (parseCSV(bytes.value())) return LexiconForm::commaSeparated;
  return std::nullopt;
}

std::string DictionaryLoader::deobfuscate(std::string_view bytes) {
  std::string out(bytes);
  detail::scrambleInPlace(out, 0);
  return out;
}

std::optional<DictionaryLoader::Result> DictionaryLoader::parseBinary(std::string_view bytes) {
  detail::MemorySource source(bytes);
  return detail::PackedReader::read(source);
}

std::optional<DictionaryLoader::Result> DictionaryLoader::parseCSV(std::string_view text) {
  if (text.empty()) return std::nullopt;
  // A file holds no more entries than lines; small files need not pay for a large table.
  const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
  const std::size_t reserve = std::min(kTextReserve, lines);
  Result result;
  WordList::Builder words;
  words.reserve(reserve, 0);
  result.explanations.reserve(reserve);
  const std::string clean = text::sanitizeUtf8(text);
  bool fits = true;
  detail::forEachLexiconLine(clean, [&](std::string_view word, std::string_view rest) {
    fits = fits && words.append(word);
    std::string explanation = text::removeWhitespace(rest);
    if (!explanation.empty()) {
      result.explanations.insert_or_assign(TibetanDictionary::normalize(word),
                                           std::move(explanation));
    }
  });
  // A text whose words a list cannot hold is refused whole rather than cut short.
  if (!fits || words.size() == 0) return std::nullopt;
  result.words = words.build();
  return result;
}

}  // namespace yakdrom
