#include "engine/lexicon/PackedFormat.h"

#include <algorithm>

namespace yakdrom::detail {
namespace {

// Key bytes repeated over a span that is a multiple of 15, so the XOR loop runs over plain
// arrays (which the compiler vectorises) instead of taking a modulo per byte.
constexpr std::size_t kPatternRepeats = 64;
constexpr std::size_t kPatternSize = kScrambleKey.size() * kPatternRepeats;

const std::array<char, kPatternSize>& keyPattern() {
  static const auto pattern = [] {
    std::array<char, kPatternSize> p{};
    for (std::size_t i = 0; i < p.size(); ++i) p[i] = kScrambleKey[i % kScrambleKey.size()];
    return p;
  }();
  return pattern;
}

// For fields whose place a size check has already proved to lie inside the bytes.
std::uint32_t u32At(std::string_view bytes, std::size_t offset) { return *readU32(bytes, offset); }

}  // namespace

void appendU32(std::string& out, std::uint32_t value) {
  for (int k = 0; k < 4; ++k) out.push_back(static_cast<char>((value >> (8 * k)) & 0xFF));
}

void scrambleInPlace(std::span<char> bytes, std::uint64_t position) {
  const auto& pattern = keyPattern();
  std::size_t phase = static_cast<std::size_t>(position % kScrambleKey.size());
  std::size_t done = 0;
  while (done < bytes.size()) {
    const std::size_t n = std::min(bytes.size() - done, kPatternSize - phase);
    char* out = bytes.data() + done;
    const char* key = pattern.data() + phase;
    for (std::size_t k = 0; k < n; ++k) out[k] = static_cast<char>(out[k] ^ key[k]);
    done += n;
    phase = (phase + n) % kScrambleKey.size();
  }
}

std::optional<PackedHeader> PackedHeader::decode(std::string_view bytes) {
  if (bytes.size() < kPackedHeaderSize || bytes.substr(0, 4) != kPackedMagic ||
      u32At(bytes, 4) != kPackedVersion) {
    return std::nullopt;
  }
  PackedHeader h;
  h.wordCount = u32At(bytes, 8);
  h.wordBytes = u32At(bytes, 12);
  for (std::size_t t = 0; t < h.tables.size(); ++t) {
    const std::size_t at = 16 + 12 * t;
    h.tables[t] = {u32At(bytes, at), u32At(bytes, at + 4), u32At(bytes, at + 8)};
  }
  return h;
}

std::string PackedHeader::encode() const {
  std::string out(kPackedMagic);
  out.reserve(kPackedHeaderSize);
  appendU32(out, kPackedVersion);
  appendU32(out, wordCount);
  appendU32(out, wordBytes);
  for (const auto& t : tables) {
    appendU32(out, t.count);
    appendU32(out, t.keyBytes);
    appendU32(out, t.valueBytes);
  }
  appendU32(out, 0);
  return out;
}

std::uint64_t PackedHeader::fileLength() const {
  // 64-bit arithmetic: a hostile header of 32-bit fields cannot overflow it.
  std::uint64_t n = kPackedHeaderSize + 4 * (std::uint64_t{wordCount} + 1) + wordBytes;
  for (const auto& t : tables) {
    n += 8 * (std::uint64_t{t.count} + 1) + t.keyBytes + t.valueBytes;
  }
  return n;
}

}  // namespace yakdrom::detail
