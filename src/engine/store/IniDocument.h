// The settings INI file as QSettings lays it out: keys without a group in its [General]
// section, values in their file form (see IniValue.h). Other sections are kept as read, so
// rewriting the file loses nothing that another program stored there.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace yakdrom {

class IniDocument {
 public:
  /// Reads `text`; comments and lines that hold no key are dropped.
  [[nodiscard]] static IniDocument parse(std::string_view text);

  /// Returns the file text: the [General] section, then the other sections as read.
  [[nodiscard]] std::string text() const;

  /// Returns the file form of the value under `key`, or nothing when absent.
  [[nodiscard]] std::optional<std::string> value(std::string_view key) const;

  /// Stores the file form `raw` under `key`, replacing whatever was there.
  void set(std::string_view key, std::string raw);

  /// Removes `key` and returns true, or returns false when it is absent.
  bool remove(std::string_view key);

 private:
  std::map<std::string, std::string, std::less<>> general_;
  std::string otherSections_;
};

}  // namespace yakdrom
