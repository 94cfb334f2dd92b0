// A text of the user interface in the user's language, as Qt shows it. Any thread.
#pragma once

#include <QString>
#include <string_view>

#include "ime/settings/InterfaceLanguage.h"

namespace yakdrom {

/// Returns `chinese` or `english` for `language`.
[[nodiscard]] inline QString localizedText(InterfaceLanguage language, std::string_view chinese,
                                           std::string_view english) {
  const std::string_view chosen = localized(language, chinese, english);
  return QString::fromUtf8(chosen.data(), static_cast<qsizetype>(chosen.size()));
}

}  // namespace yakdrom
