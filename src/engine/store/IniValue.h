// Values of the settings INI file in the form QSettings writes and reads them, so that
// programs built with and without Qt share one file: text escaped, and quoted where a reader
// would split it, and a string-to-integer map as "@Variant(...)" around its QDataStream form.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/store/PreferenceStore.h"

namespace yakdrom::ini {

/// Returns the file form of the UTF-8 `text`.
[[nodiscard]] std::string encodeText(std::string_view text);

/// Returns the text held by the file form `raw`, or nothing when it holds a list or a value
/// of another type.
[[nodiscard]] std::optional<std::string> decodeText(std::string_view raw);

/// Returns the file form of `map`.
[[nodiscard]] std::string encodeIntegerMap(const IntegerMap& map);

/// Returns the map held by the file form `raw`, or nothing when it holds anything else or a
/// map with a value that is not an integer.
[[nodiscard]] std::optional<IntegerMap> decodeIntegerMap(std::string_view raw);

}  // namespace yakdrom::ini
