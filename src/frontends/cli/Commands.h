// The subcommands of the `yakdrom` command-line program. Each takes its arguments (after
// the subcommand name) and the two output streams, and returns the exit status; `--help`,
// `help [COMMAND]` and `--version` are answered here from the table of commands.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace yakdrom::cli {

using Args = std::vector<std::string>;

struct Command {
  const char* name;
  /// The synopsis after "yakdrom ", one line.
  const char* usage;
  /// What the command does and its options, in lines of at most 80 columns; `help COMMAND`
  /// prints it below the usage.
  const char* help;
  int (*run)(const Args& args, std::ostream& out, std::ostream& err);
};

/// Returns every subcommand, in the order the usage text lists them.
[[nodiscard]] const std::vector<Command>& commands();

/// Runs the subcommand named by args[0], or prints the help asked for and returns 0; prints
/// the usage to `err` and returns 2 when there is no such command, and "yakdrom: out of
/// memory" with status 1 when the subcommand runs out of memory.
int runCommandLine(const Args& args, std::ostream& out, std::ostream& err);

/// Returns what `run` returns or, when it runs out of memory, prints "yakdrom: out of
/// memory" to `err` and returns 1.
int runCatchingOutOfMemory(const std::function<int()>& run, std::ostream& err);

}  // namespace yakdrom::cli
