// The packed lexicon layout shared by its reader and its writer: a 56-byte header of
// little-endian 32-bit fields, then offset tables and UTF-8 text blocks, every byte of the
// file scrambled with a fixed 15-byte key.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace yakdrom::detail {

inline constexpr std::string_view kPackedMagic = "YLXB";
inline constexpr std::uint32_t kPackedVersion = 3;
inline constexpr std::size_t kPackedHeaderSize = 56;

// Any fixed printable value works; every lexicon file ever written depends on this one.
inline constexpr std::string_view kScrambleKey = "kR7#tQ2@wL9!zP4";
static_assert(kScrambleKey.size() == 15);

/// Returns the little-endian 32-bit value at `offset`, or nothing when its four bytes do
/// not all lie inside `bytes`. Inline: the loader calls it for every offset of the file.
[[nodiscard]] inline std::optional<std::uint32_t> readU32(std::string_view bytes,
                                                          std::size_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < 4) return std::nullopt;
  std::uint32_t v = 0;
  for (std::size_t k = 0; k < 4; ++k) {
    v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + k])) << (8 * k);
  }
  return v;
}

/// Appends `value` to `out` as four little-endian bytes.
void appendU32(std::string& out, std::uint32_t value);

/// XORs `bytes`, which start at byte `position` of a file, with the key. Applying it twice
/// restores the input.
void scrambleInPlace(std::span<char> bytes, std::uint64_t position);

/// Sizes of one explanation table.
struct PackedTableSizes {
  std::uint32_t count = 0;
  std::uint32_t keyBytes = 0;
  std::uint32_t valueBytes = 0;

  bool operator==(const PackedTableSizes&) const = default;
};

/// The counts and sizes a packed header carries.
struct PackedHeader {
  std::uint32_t wordCount = 0;
  std::uint32_t wordBytes = 0;
  std::array<PackedTableSizes, 3> tables{};  // Tibetan, Chinese, English

  bool operator==(const PackedHeader&) const = default;

  /// Returns the header in `bytes`, or nothing when the magic or version is wrong or the
  /// data is shorter than a header.
  [[nodiscard]] static std::optional<PackedHeader> decode(std::string_view bytes);

  /// Returns the 56 header bytes, reserved field zero.
  [[nodiscard]] std::string encode() const;

  /// Returns the exact file length this header describes.
  [[nodiscard]] std::uint64_t fileLength() const;
};

}  // namespace yakdrom::detail
