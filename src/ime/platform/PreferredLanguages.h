// The user's preferred interface languages, most preferred first, as BCP 47 tags ("zh-CN",
// "en-US"). The source of the Chinese-or-English choice of every visible text. Any thread.
#pragma once

#include <string>
#include <vector>

namespace yakdrom {

class PreferredLanguages {
 public:
  virtual ~PreferredLanguages() = default;

  /// Returns the languages, most preferred first; possibly empty.
  [[nodiscard]] virtual std::vector<std::string> languages() const = 0;
};

}  // namespace yakdrom
