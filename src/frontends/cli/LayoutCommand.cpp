// `yakdrom layout`: the keyboard charts in the terminal, or as an SVG file with --svg.
#include <unistd.h>

#include <cstdlib>
#include <ostream>

#include "engine/learning/AtomicFile.h"
#include "frontends/cli/Commands.h"
#include "frontends/cli/TerminalChart.h"
#include "ime/help/KeyboardChartSvg.h"

namespace yakdrom::cli {
namespace {

// Colour only for a terminal, and never when the user asked for none (no-color.org).
bool wantsColour() { return ::isatty(STDOUT_FILENO) == 1 && std::getenv("NO_COLOR") == nullptr; }

int writeSvg(const std::string& file, std::ostream& out, std::ostream& err) {
  const auto written = detail::AtomicFile::write(file, KeyboardChartSvg::render());
  if (!written) {
    err << "yakdrom layout: " << written.error().message() << "\n";
    return 1;
  }
  out << "wrote " << file << "\n";
  return 0;
}

}  // namespace

int runLayout(const Args& args, std::ostream& out, std::ostream& err) {
  if (args.size() == 2 && args[0] == "--svg") return writeSvg(args[1], out, err);
  if (!args.empty()) {
    err << "usage: yakdrom layout [--svg FILE]\n";
    return 2;
  }
  const bool colour = wantsColour();
  out << TerminalChart::render(KeyboardChart::keys(), colour) << "\n";
  for (const std::string& mode : KeyboardChart::deadKeyModes()) {
    out << TerminalChart::render(KeyboardChart::afterDeadKey(mode), colour) << "\n";
  }
  out << TerminalChart::legend(colour);
  return 0;
}

}  // namespace yakdrom::cli
