// The little JSON the command line prints: strings with the escapes JSON requires, arrays
// of strings and null.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace yakdrom::cli {

/// Returns `text` as a JSON string literal; only '"', '\' and control characters are escaped.
[[nodiscard]] std::string jsonQuoted(std::string_view text);

/// Returns `texts` as a JSON array of strings.
[[nodiscard]] std::string jsonArray(const std::vector<std::string>& texts);

/// Returns `text` as a JSON string literal, or null when there is none.
[[nodiscard]] std::string jsonQuotedOrNull(const std::optional<std::string>& text);

}  // namespace yakdrom::cli
