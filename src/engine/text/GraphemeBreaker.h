// Finds extended grapheme cluster boundaries. Text made only of printable ASCII and the
// Tibetan block takes a table-driven path; anything else goes to ICU's break iterator,
// which is created once per thread.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace yakdrom::text::detail {

class GraphemeBreaker {
 public:
  /// Returns the byte offsets where clusters start in `text`, followed by text.size(), or
  /// nothing when the text needs ICU and ICU fails. `text` must be well-formed UTF-8.
  [[nodiscard]] static std::vector<std::size_t> boundaries(std::string_view text);

  /// Replaces `out` with boundaries(text), reusing its capacity.
  static void boundariesInto(std::string_view text, std::vector<std::size_t>& out);

  /// Returns the number of clusters in `text` without building the boundary list; 0 when
  /// the text needs ICU and ICU fails. `text` must be well-formed UTF-8.
  [[nodiscard]] static std::size_t count(std::string_view text);

  /// Returns true when a cluster boundary lies at byte `offset` of `text`; false when the
  /// text needs ICU and ICU fails.
  [[nodiscard]] static bool isBoundary(std::string_view text, std::size_t offset);

  /// Returns the boundaries ICU alone finds, or nothing when it fails; the fast path is
  /// tested against it.
  [[nodiscard]] static std::vector<std::size_t> icuBoundaries(std::string_view text);
};

}  // namespace yakdrom::text::detail
