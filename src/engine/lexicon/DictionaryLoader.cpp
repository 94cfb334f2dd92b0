#include "engine/lexicon/DictionaryLoader.h"

#include <algorithm>
#include <utility>

#include "engine/learning/AtomicFile.h"
#include "engine/lexicon/LexiconError.h"
#include "engine/lexicon/LexiconText.h"
#include "engine/lexicon/PackedFormat.h"
#include "engine/lexicon/PackedReader.h"
#include "engine/text/Text.h"

namespace yakdrom {
namespace {

using Result = DictionaryLoader::Result;

// The text form reserves room for this many entries at most, sized for a typical word list.
constexpr std::size_t kTextReserve = 60000;

struct Loaded {
  Result content;
  LexiconForm form;
};

bool isPackedPath(const std::filesystem::path& path) { return path.extension() == ".dat"; }

FileError refusal(const std::filesystem::path& path, LexiconError why) {
  return {"read the lexicon", path, why};
}

// The signature as the writer leaves it (scrambled) or as a careless copy may (plain). A file
// that carries it is packed or damaged: read as text its tables would become words.
bool claimsPacked(std::string_view raw) {
  const auto head = raw.substr(0, detail::kPackedMagic.size());
  return head == detail::kPackedMagic ||
         DictionaryLoader::deobfuscate(head) == detail::kPackedMagic;
}

// `bytes` are unscrambled.
FileResult<Loaded> readPacked(const std::filesystem::path& path, std::string_view bytes) {
  if (auto result = DictionaryLoader::parseBinary(bytes)) {
    return Loaded{std::move(*result), LexiconForm::packed};
  }
  const bool otherVersion = bytes.starts_with(detail::kPackedMagic) &&
                            detail::readU32(bytes, 4) != detail::kPackedVersion;
  return refusal(
      path, otherVersion ? LexiconError::unsupportedPackedVersion : LexiconError::damagedPacked);
}

// `text` is well-formed UTF-8.
std::optional<Result> parseWellFormedText(std::string_view text) {
  if (text.empty()) return std::nullopt;
  // A file holds no more entries than lines; small files need not pay for a large table.
  const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
  const std::size_t reserve = std::min(kTextReserve, lines);
  Result result;
  WordList::Builder words;
  words.reserve(reserve, 0);
  result.explanations.reserve(reserve);
  bool fits = true;
  detail::forEachLexiconLine(text, [&](std::string_view word, std::string_view rest) {
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

FileResult<Loaded> readText(const std::filesystem::path& path, std::string_view text) {
  if (!text::isWellFormedUtf8(text)) return refusal(path, LexiconError::notText);
  auto result = parseWellFormedText(text);
  if (!result) return refusal(path, LexiconError::noWord);
  return Loaded{std::move(*result), LexiconForm::commaSeparated};
}

FileResult<Loaded> loadFile(const std::filesystem::path& path) {
  const bool packedName = isPackedPath(path);
  if (packedName) {
    // Streaming from the file keeps the peak memory near that of the result alone.
    if (auto file = detail::ScrambledFileSource::open(path)) {
      if (auto result = detail::PackedReader::read(*file)) {
        return Loaded{std::move(*result), LexiconForm::packed};
      }
    }
  }
  auto bytes = detail::AtomicFile::read(path);
  if (!bytes) return bytes.error();
  const bool claimed = claimsPacked(bytes.value());
  if (!packedName) {
    return claimed ? refusal(path, LexiconError::packedWithoutDatName)
                   : readText(path, bytes.value());
  }
  detail::scrambleInPlace(bytes.value(), 0);
  // Parsing the bytes again also covers files whose size was unknown before reading.
  return claimed ? readPacked(path, bytes.value()) : readText(path, bytes.value());
}

}  // namespace

FileResult<Result> DictionaryLoader::load(const std::filesystem::path& path) {
  auto loaded = loadFile(path);
  if (!loaded) return loaded.error();
  return std::move(loaded.value().content);
}

std::optional<LexiconForm> DictionaryLoader::formOf(const std::filesystem::path& path) {
  const auto loaded = loadFile(path);
  if (!loaded) return std::nullopt;
  return loaded.value().form;
}

std::string DictionaryLoader::deobfuscate(std::string_view bytes) {
  std::string out(bytes);
  detail::scrambleInPlace(out, 0);
  return out;
}

std::optional<Result> DictionaryLoader::parseBinary(std::string_view bytes) {
  detail::MemorySource source(bytes);
  return detail::PackedReader::read(source);
}

std::optional<Result> DictionaryLoader::parseCSV(std::string_view text) {
  if (!text::isWellFormedUtf8(text)) return std::nullopt;
  return parseWellFormedText(text);
}

}  // namespace yakdrom
