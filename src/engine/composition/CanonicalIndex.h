// Finds a text among a fixed list of keys by canonical equivalence. Single ASCII and
// Tibetan scalars without a decomposition are answered from an array, other texts by
// their NFD form, so results match a comparison of every key with canonicallyEqual.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace yakdrom::detail {

class CanonicalIndex {
 public:
  /// Indexes `keys`; position i of the list is the answer for key i. Of canonically
  /// equal keys the first wins.
  explicit CanonicalIndex(const std::vector<std::string>& keys);

  /// Returns the position of the key canonically equal to `text`, or nothing.
  [[nodiscard]] std::optional<std::size_t> find(std::string_view text) const;

 private:
  static constexpr std::size_t kFastSize = 0x80 + 0x1000;  // ASCII, then U+0F00-U+0FFF
  static constexpr std::int16_t kAbsent = -1;
  static constexpr std::int16_t kAskNormalizer = -2;

  std::array<std::int16_t, kFastSize> fast_{};
  std::map<std::string, std::size_t, std::less<>> byNfd_;
  std::size_t longestNfd_ = 0;  // in scalars
};

/// Returns the NFD form of `text`, without the normaliser when it is ASCII and Tibetan
/// text that is already decomposed and in canonical order.
[[nodiscard]] std::string canonicalKey(std::string_view text);

/// Returns false only when every scalar of `text` is ASCII or a Tibetan scalar without a
/// decomposition and none of them is in `scalars`: then no part of `text` is canonically
/// equivalent to a text whose NFD holds one of `scalars`.
[[nodiscard]] bool mayHoldAny(std::string_view text, std::span<const char32_t> scalars);

/// Returns true when `text` and `other` are canonically equivalent.
[[nodiscard]] bool sameCharacter(std::string_view text, std::string_view other);

/// Returns the scalar when `text` is exactly one scalar, else 0.
[[nodiscard]] char32_t onlyScalar(std::string_view text);

/// Returns true when `text` is exactly one user-perceived character.
[[nodiscard]] bool isOneCharacter(std::string_view text);

}  // namespace yakdrom::detail
