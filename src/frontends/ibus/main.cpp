// `yakdrom-ibus --ibus`: the Yakdrom input method as an IBus engine, started by ibus-daemon.
#include <iostream>
#include <string_view>

#include "ui/DesktopProgram.h"

namespace {

constexpr std::string_view kHelp =
    "usage: yakdrom-ibus --ibus | --help | --version\n"
    "\n"
    "The Yakdrom Tibetan input method as an IBus engine. ibus-daemon starts it with --ibus\n"
    "when \"Tibetan (Yakdrom)\" is chosen; it is not meant to be run by hand. See\n"
    "yakdrom-ibus(1).\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace yakdrom;
  if (auto status = DesktopProgram::answer(argc, argv, "yakdrom-ibus", kHelp, std::cout)) {
    return *status;
  }
  std::cerr << kHelp;
  return 2;
}
