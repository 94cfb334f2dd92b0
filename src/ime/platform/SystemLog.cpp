#include "ime/platform/SystemLog.h"

#include <syslog.h>

#include <cstdio>
#include <string>

namespace yakdrom {

void SystemLog::writeLine(std::string_view line) {
  const std::string text = std::string(line) + "\n";
  // One fwrite per line: stdio locks the stream, so lines from two threads never interleave.
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
  syslog(LOG_USER | LOG_NOTICE, "%.*s", static_cast<int>(line.size()), line.data());
}

}  // namespace yakdrom
