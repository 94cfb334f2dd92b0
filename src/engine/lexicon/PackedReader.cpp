#include "engine/lexicon/PackedReader.h"

#include <algorithm>
#include <span>
#include <system_error>
#include <vector>

#include "engine/lexicon/PackedFormat.h"
#include "engine/text/Text.h"

namespace yakdrom::detail {
namespace {

using Offsets = std::vector<std::uint32_t, HugePageAllocator<std::uint32_t>>;

// Text blocks are pulled in pieces of about this size, which bounds the file buffer beside
// the growing result.
constexpr std::size_t kBatchBytes = std::size_t{1} << 20;

bool skip(PackedSource& source, std::size_t n) {
  while (n > 0) {
    const std::size_t step = std::min(n, kBatchBytes);
    if (!source.next(step)) return false;
    n -= step;
  }
  return true;
}

// Reads the count+1 offsets of a table. Offsets that run backwards or past the block would
// make items overlap or leave the data, so they reject the file like a bad header does.
std::optional<Offsets> readOffsets(PackedSource& source, std::uint32_t count,
                                   std::uint32_t blockBytes) {
  const std::size_t entries = std::size_t{count} + 1;
  const auto table = source.next(4 * entries);
  if (!table) return std::nullopt;
  Offsets offsets(entries);
  for (std::size_t k = 0; k < entries; ++k) {
    offsets[k] = *readU32(*table, 4 * k);
    if (offsets[k] > blockBytes || (k > 0 && offsets[k] < offsets[k - 1])) return std::nullopt;
  }
  return offsets;
}

// Reads a text block and hands item k, as stored, to each(k, bytes), which returns false
// to fail the read.
template <typename Each>
bool readBlock(PackedSource& source, const Offsets& offsets, std::uint32_t blockBytes,
               Each&& each) {
  if (!skip(source, offsets.front())) return false;
  const std::size_t count = offsets.size() - 1;
  std::size_t first = 0;
  while (first < count) {
    std::size_t end = first + 1;
    while (end < count && offsets[end + 1] - offsets[first] <= kBatchBytes) ++end;
    const auto bytes = source.next(offsets[end] - offsets[first]);
    if (!bytes) return false;
    for (std::size_t k = first; k < end; ++k) {
      if (!each(k, bytes->substr(offsets[k] - offsets[first], offsets[k + 1] - offsets[k]))) {
        return false;
      }
    }
    first = end;
  }
  return skip(source, blockBytes - offsets.back());
}

bool readTable(PackedSource& source, const PackedTableSizes& sizes, ExplanationMap& map) {
  const auto keyOffsets = readOffsets(source, sizes.count, sizes.keyBytes);
  if (!keyOffsets) return false;
  std::vector<std::string> keys;
  keys.reserve(sizes.count);
  if (!readBlock(source, *keyOffsets, sizes.keyBytes, [&](std::size_t, std::string_view key) {
        keys.push_back(text::sanitizeUtf8(key));
        return true;
      })) {
    return false;
  }
  const auto valueOffsets = readOffsets(source, sizes.count, sizes.valueBytes);
  if (!valueOffsets) return false;
  map.reserve(sizes.count);
  // insert_or_assign: of two entries with one key, the later one wins.
  return readBlock(source, *valueOffsets, sizes.valueBytes,
                   [&](std::size_t k, std::string_view value) {
                     map.insert_or_assign(std::move(keys[k]), text::sanitizeUtf8(value));
                     return true;
                   });
}

// Appends the words straight from the file's pieces: no string per word, and the list's
// two buffers are sized once from the offsets.
bool readWords(PackedSource& source, const PackedHeader& header, WordList& words) {
  const auto offsets = readOffsets(source, header.wordCount, header.wordBytes);
  if (!offsets) return false;
  WordList::Builder builder;
  builder.reserve(header.wordCount, offsets->back() - offsets->front());
  if (!readBlock(source, *offsets, header.wordBytes,
                 [&](std::size_t, std::string_view word) { return builder.append(word); })) {
    return false;
  }
  words = builder.build();
  return true;
}

}  // namespace

std::optional<std::string_view> MemorySource::next(std::size_t n) {
  if (bytes_.size() - position_ < n) return std::nullopt;
  const auto piece = bytes_.substr(position_, n);
  position_ += n;
  return piece;
}

std::unique_ptr<ScrambledFileSource> ScrambledFileSource::open(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return nullptr;
  const auto size = std::filesystem::file_size(path, error);
  if (error) return nullptr;
  std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
  if (!file) return nullptr;
  std::unique_ptr<ScrambledFileSource> source(new ScrambledFileSource(std::move(file), size));
  // Room for a full piece from the start, so the buffer is not moved while the pieces grow.
  source->buffer_.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(size, kBatchBytes)));
  return source;
}

std::optional<std::string_view> ScrambledFileSource::next(std::size_t n) {
  if (size_ - position_ < n) return std::nullopt;
  // Grown, never shrunk: the buffer is filled once and then reused for every piece.
  if (buffer_.size() < n) buffer_.resize(n);
  const std::span<char> piece(buffer_.data(), n);
  if (std::fread(piece.data(), 1, n, file_.get()) != n) return std::nullopt;
  scrambleInPlace(piece, position_);
  position_ += n;
  return std::string_view(piece.data(), n);
}

std::optional<DictionaryLoader::Result> PackedReader::read(PackedSource& source) {
  if (source.size() < kPackedHeaderSize) return std::nullopt;
  const auto head = source.next(kPackedHeaderSize);
  const auto header = head ? PackedHeader::decode(*head) : std::nullopt;
  if (!header || header->fileLength() != source.size() || header->wordCount == 0) {
    return std::nullopt;
  }
  DictionaryLoader::Result result;
  if (!readWords(source, *header, result.words)) return std::nullopt;
  ExplanationMap* const maps[] = {&result.explanations, &result.chineseExplanations,
                                  &result.englishExplanations};
  for (std::size_t t = 0; t < header->tables.size(); ++t) {
    if (!readTable(source, header->tables[t], *maps[t])) return std::nullopt;
  }
  return result;
}

}  // namespace yakdrom::detail
