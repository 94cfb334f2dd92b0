// How the stores read numbers and Booleans back from the text a settings file holds, and
// turn a stored real into an integer: one set of rules for every store, so a value reads
// the same whichever program wrote it. Any thread.
#pragma once

#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>
#include <system_error>

namespace yakdrom::detail {

/// Returns `d` without its fraction, or nothing when it is not finite or out of range.
[[nodiscard]] inline std::optional<std::int64_t> truncated(double d) {
  constexpr double kLimit = 9223372036854775807.0;
  if (!std::isfinite(d) || d >= kLimit || d < -kLimit) return std::nullopt;
  return static_cast<std::int64_t>(d);
}

/// Returns the number that is the whole of `text`, or nothing.
template <class Number>
[[nodiscard]] std::optional<Number> parseWhole(std::string_view text) {
  Number n{};
  const char* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, n);
  if (error != std::errc{} || ptr != end) return std::nullopt;
  return n;
}

/// Returns the Boolean spelled "true" or "false", or nothing.
[[nodiscard]] inline std::optional<bool> parseBoolean(std::string_view text) {
  if (text == "true") return true;
  if (text == "false") return false;
  return std::nullopt;
}

}  // namespace yakdrom::detail
