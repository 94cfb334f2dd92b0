// The program's log: one line per event, each beginning "Yakdrom IME: ". There are no
// levels. Implementations are safe to call from any thread.
#pragma once

#include <string_view>

namespace yakdrom {

inline constexpr std::string_view kLogPrefix = "Yakdrom IME: ";

class Log {
 public:
  virtual ~Log() = default;

  /// Writes the prefix and `message` as one line; line breaks inside the message (from a
  /// path, say) become spaces so that one event never spans two lines.
  void write(std::string_view message);

 protected:
  /// Writes `line`, which holds no line break, as one line.
  virtual void writeLine(std::string_view line) = 0;
};

}  // namespace yakdrom
