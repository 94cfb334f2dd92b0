// The language of every visible text: Chinese when the user's first preferred language is a
// Chinese one, English otherwise. Any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ime/platform/PreferredLanguages.h"

namespace yakdrom {

enum class InterfaceLanguage { chinese, english };

/// Returns chinese when the first of `preferred` begins with "zh", else english (also for an
/// empty list).
[[nodiscard]] InterfaceLanguage interfaceLanguage(const std::vector<std::string>& preferred);

/// Returns the interface language of the languages `preferred` reports now.
[[nodiscard]] InterfaceLanguage interfaceLanguage(const PreferredLanguages& preferred);

/// Returns `chinese` or `english`, whichever `language` asks for.
[[nodiscard]] constexpr std::string_view localized(InterfaceLanguage language,
                                                   std::string_view chinese,
                                                   std::string_view english) {
  return language == InterfaceLanguage::chinese ? chinese : english;
}

}  // namespace yakdrom
