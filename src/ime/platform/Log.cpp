#include "ime/platform/Log.h"

#include <string>

namespace yakdrom {

void Log::write(std::string_view message) {
  std::string line(kLogPrefix);
  line.reserve(line.size() + message.size());
  for (const char c : message) line.push_back(c == '\n' || c == '\r' ? ' ' : c);
  writeLine(line);
}

}  // namespace yakdrom
