// The little JSON the command line prints: quoted strings with the escapes JSON requires.
#pragma once

#include <string>
#include <string_view>

namespace yakdrom::cli {

/// Returns `text` as a JSON string literal; only '"', '\' and control characters are escaped.
[[nodiscard]] std::string jsonQuoted(std::string_view text);

}  // namespace yakdrom::cli
