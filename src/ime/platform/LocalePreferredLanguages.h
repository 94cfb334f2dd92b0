// Preferred languages from the POSIX locale environment, read the way gettext does: the
// LANGUAGE list first, then the messages locale (LC_ALL, else LC_MESSAGES, else LANG);
// LANGUAGE counts only outside the C locale. Any thread.
#pragma once

#include <functional>
#include <string_view>

#include "ime/platform/PreferredLanguages.h"

namespace yakdrom {

class LocalePreferredLanguages final : public PreferredLanguages {
 public:
  /// Returns the value of an environment variable, or nullptr when it is not set.
  using Lookup = std::function<const char*(const char* name)>;

  /// Reads the process environment.
  LocalePreferredLanguages();
  /// Reads through `lookup` instead of the process environment.
  explicit LocalePreferredLanguages(Lookup lookup);

  /// Returns the tags in order, without repeats; "C" and "POSIX" name no language and
  /// are left out, so a bare C locale gives an empty list. LANGUAGE is ignored when the
  /// messages locale is "C" or "POSIX", or when no locale variable is set.
  [[nodiscard]] std::vector<std::string> languages() const override;

 private:
  [[nodiscard]] std::string_view messagesLocale() const;

  Lookup lookup_;
};

}  // namespace yakdrom
