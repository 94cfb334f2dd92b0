// A text of the user interface in the user's language, as Qt shows it. Any thread.
#pragma once

#include <QString>
#include <string_view>

#include "ime/settings/InterfaceLanguage.h"

namespace yakdrom {

/// Returns the UTF-8 `text` as a Qt string.
[[nodiscard]] inline QString qtString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/// Returns `chinese` or `english` for `language`.
[[nodiscard]] inline QString localizedText(InterfaceLanguage language, std::string_view chinese,
                                           std::string_view english) {
  return qtString(localized(language, chinese, english));
}

}  // namespace yakdrom
