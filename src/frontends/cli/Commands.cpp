#include "frontends/cli/Commands.h"

#include <algorithm>
#include <new>
#include <ostream>
#include <string_view>

#include "YakdromVersion.h"

namespace yakdrom::cli {

// Each command lives in its own source file; their entry points are listed here once.
int runType(const Args& args, std::ostream& out, std::ostream& err);
int runReplay(const Args& args, std::ostream& out, std::ostream& err);
int runPad(const Args& args, std::ostream& out, std::ostream& err);
int runKeys(const Args& args, std::ostream& out, std::ostream& err);
int runLayout(const Args& args, std::ostream& out, std::ostream& err);
int runLexicon(const Args& args, std::ostream& out, std::ostream& err);
int runUserDict(const Args& args, std::ostream& out, std::ostream& err);
int runUninstall(const Args& args, std::ostream& out, std::ostream& err);

namespace {

constexpr int kUsage = 2;

constexpr std::string_view kSessionOptions =
    "session options: --lexicon FILE, --user-dictionary FILE, --set KEY=VALUE\n";

// Every command whose usage names SESSION OPTIONS gets this below its own help.
constexpr std::string_view kSessionOptionsHelp =
    "\n"
    "Session options:\n"
    "  --lexicon FILE          the lexicon (default: the one the input method reads)\n"
    "  --user-dictionary FILE  the user dictionary (default: a fresh one, not kept)\n"
    "  --set KEY=VALUE         a setting for this run only: Yakdrom.candidateCount=5\n"
    "  --                      every argument after it is an operand\n";

}  // namespace

const std::vector<Command>& commands() {
  static const std::vector<Command> table = {
      {"type", "type [--json] [--trace] [SESSION OPTIONS] KEYS...",
       "Types KEYS through the input method into an empty text field once the lexicon is\n"
       "loaded, and prints the text followed by the syllable being composed. KEYS are in\n"
       "key notation: a printable ASCII character is the US key that types it, a braced\n"
       "name one key: {space} {return} {escape} {down} {opt+m} {ctrl+c}.\n"
       "\n"
       "  --json   print the field and the candidate window as one JSON object\n"
       "  --trace  first print a line per key: the key, a tab, and what it did\n",
       runType},
      {"replay", "replay FILE [SESSION OPTIONS]",
       "Types the keys of FILE (key notation; line breaks are ignored) through the input\n"
       "method without waiting for the lexicon, and reports keys per second, the latency\n"
       "per key (p50, p90, p99, max), the peak memory, and when the first key was served\n"
       "and the lexicon load finished.\n",
       runReplay},
      {"pad", "pad [--output FILE] [--lexicon FILE]",
       "Opens a typing pad in this terminal, with the user's own settings, statistics\n"
       "and user dictionary. Number keys, Return and Space confirm a candidate, the\n"
       "arrow keys move the selection, Escape closes the candidate window. Ctrl-D ends\n"
       "and prints the text, Ctrl-C ends without it, Ctrl-Z suspends the pad, F1 lists\n"
       "these keys. A hang-up or SIGTERM keeps the text in FILE, else in a recovery\n"
       "file that the next pad names.\n"
       "\n"
       "  --output FILE   append the text to FILE instead of printing it\n"
       "  --lexicon FILE  the lexicon (default: the one the input method reads)\n",
       runPad},
      {"keys", "keys TEXT...",
       "Prints, for each TEXT, the shortest key sequence that types it, checked by\n"
       "typing it through the engine. A text that cannot be typed is named on stderr,\n"
       "and the status is 1.\n",
       runKeys},
      {"layout", "layout [--svg FILE]",
       "Prints the keyboard charts, read off the input method's own key tables: what\n"
       "each key types plain, with Shift, Option and Shift+Option, then what each key\n"
       "gives after the dead keys M and Shift+M. Signs are coloured by kind on a\n"
       "terminal (NO_COLOR turns that off); the widest line is 96 columns.\n"
       "\n"
       "  --svg FILE  write the charts as an SVG picture instead; its Tibetan is set in\n"
       "              the font Yakdrom-SN, by name\n",
       runLayout},
      {"lexicon", "lexicon build|info|lookup ARGS...",
       "Builds lexicon files and shows what the input method reads from one.\n"
       "\n"
       "  build --words FILE... [--explanations-bo TSV] [--explanations-zh TSV]\n"
       "        [--explanations-en TSV] --output FILE\n"
       "      builds a lexicon from word lists and \"word TAB explanation\" files; an\n"
       "      output named .csv is comma-separated (Tibetan explanations only), any\n"
       "      other packed\n"
       "  info FILE\n"
       "      prints the form, the counts of words and explanations, and the load time\n"
       "  lookup FILE PREFIX [--limit N]\n"
       "      prints the candidates for PREFIX, at most N (default 20), with their\n"
       "      explanations\n",
       runLexicon},
      {"userdict", "userdict show|learn|import|export|backup FILE ARGS...",
       "Works on a user-dictionary file (one \"word count\" per line) as the settings\n"
       "window does, and prints the number of entries. A file it cannot read is never\n"
       "written over.\n"
       "\n"
       "  show FILE               prints every entry\n"
       "  learn FILE WORD...      learns each WORD, as typing it would\n"
       "  import FILE SOURCE      adds the words of SOURCE\n"
       "  export FILE DEST        writes the entries to DEST\n"
       "  backup FILE [--keep N]  writes a dated copy into backups/ beside FILE and\n"
       "                          keeps the newest N copies (default 10)\n",
       runUserDict},
      {"uninstall", "uninstall [--system] [--root DIR] [--package]",
       "Removes what scripts/install.sh installed for this user, or with --system the\n"
       "system-wide copy (as root): exactly the files its install-manifest.txt lists,\n"
       "then the folders it lists that are left empty. Prints each path removed and\n"
       "refreshes IBus's list of engines (ibus write-cache).\n"
       "\n"
       "  --system    the copy in /usr/local/lib/yakdrom, /usr/local/share and\n"
       "              /usr/share/ibus/component\n"
       "  --root DIR  with --system: look under DIR instead of /; for tests only\n"
       "  --package   also remove the Debian package yakdrom (dpkg --remove)\n",
       runUninstall},
  };
  return table;
}

namespace {

const Command* find(std::string_view name) {
  const auto& table = commands();
  const auto found =
      std::find_if(table.begin(), table.end(), [name](const Command& c) { return c.name == name; });
  return found == table.end() ? nullptr : &*found;
}

void printUsage(std::ostream& s) {
  s << "usage:\n";
  for (const auto& c : commands()) s << "  yakdrom " << c.usage << "\n";
  s << kSessionOptions
    << "'yakdrom help COMMAND' or 'yakdrom COMMAND --help' describes a command;\n"
       "'yakdrom --version' prints the version.\n";
}

// No command names the problem, so the whole usage is shown and where to learn more.
int usageError(std::ostream& err, std::string_view problem) {
  if (!problem.empty()) err << "yakdrom: " << problem << "\n";
  printUsage(err);
  err << "Try 'yakdrom --help' for more information.\n";
  return kUsage;
}

void printHelp(const Command& c, std::ostream& out) {
  out << "usage: yakdrom " << c.usage << "\n\n" << c.help;
  if (std::string_view(c.usage).find("SESSION OPTIONS") != std::string_view::npos) {
    out << kSessionOptionsHelp;
  }
}

int runHelp(const Args& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    printUsage(out);
    return 0;
  }
  if (args.size() > 1) return usageError(err, "help describes one command");
  const Command* c = find(args[0]);
  if (c == nullptr) return usageError(err, "no command \"" + args[0] + "\" to describe");
  printHelp(*c, out);
  return 0;
}

int runVersion(const Args& /*args*/, std::ostream& out, std::ostream& /*err*/) {
  out << "yakdrom " << kYakdromVersion << "\n";
  return 0;
}

struct ProgramOption {
  std::string_view name;
  int (*run)(const Args& args, std::ostream& out, std::ostream& err);
};

// The words in the command's place that are about the program rather than a command.
constexpr ProgramOption kProgramOptions[] = {
    {"--help", runHelp}, {"-h", runHelp}, {"help", runHelp}, {"--version", runVersion}};

constexpr std::string_view kHelpOptions[] = {"--help", "-h"};

// Only the first argument asks for help: later ones may be keys or texts, where "-h" is
// something to type.
bool asksForHelp(const Args& args) {
  return !args.empty() && std::find(std::begin(kHelpOptions), std::end(kHelpOptions), args[0]) !=
                              std::end(kHelpOptions);
}

}  // namespace

int runCommandLine(const Args& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) return usageError(err, {});
  const Args rest(args.begin() + 1, args.end());
  for (const auto& option : kProgramOptions) {
    if (args[0] == option.name) return option.run(rest, out, err);
  }
  const Command* c = find(args[0]);
  if (c == nullptr) return usageError(err, "unknown command \"" + args[0] + "\"");
  if (asksForHelp(rest)) {
    printHelp(*c, out);
    return 0;
  }
  return runCatchingOutOfMemory([&] { return c->run(rest, out, err); }, err);
}

int runCatchingOutOfMemory(const std::function<int()>& run, std::ostream& err) {
  // A lexicon or word list too large for memory is an input problem like any other: it
  // deserves a message and a status, not an abort.
  try {
    return run();
  } catch (const std::bad_alloc&) {
    err << "yakdrom: out of memory\n";
    return 1;
  }
}

}  // namespace yakdrom::cli
