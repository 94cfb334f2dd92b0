// The log of the installed programs: every line goes to standard error and to syslog.
// Any thread.
#pragma once

#include "ime/platform/Log.h"

namespace yakdrom {

class SystemLog final : public Log {
 protected:
  void writeLine(std::string_view line) override;
};

}  // namespace yakdrom
