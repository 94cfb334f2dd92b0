// `yakdrom userdict show|learn|import|export|backup`: the settings window's user-dictionary
// operations on a given file, for scripts and tests. Each prints the figure the window
// shows, and refuses (exit 1) rather than write over a file it could not read.
#include <charconv>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "engine/learning/UserDictionary.h"
#include "engine/text/Text.h"
#include "frontends/cli/Commands.h"

namespace yakdrom::cli {
namespace {

namespace fs = std::filesystem;

constexpr int kFailure = 1;
constexpr int kUsage = 2;

constexpr std::string_view kUsageText =
    "usage: yakdrom userdict show FILE\n"
    "       yakdrom userdict learn FILE WORD...\n"
    "       yakdrom userdict import FILE SOURCE\n"
    "       yakdrom userdict export FILE DEST\n"
    "       yakdrom userdict backup FILE [--keep N]\n";

int usage(std::ostream& err, std::string_view problem) {
  err << "yakdrom userdict: " << problem << "\n" << kUsageText;
  return kUsage;
}

int failure(std::ostream& err, const FileError& error) {
  err << "yakdrom userdict: " << error.message() << "\n";
  return kFailure;
}

// Commands that only read the dictionary want the file to be there; those that add to it
// create it.
enum class Missing { isError, isEmpty };

// Opens the dictionary at `file`, or reports why it cannot be used safely.
std::unique_ptr<UserDictionary> open(const fs::path& file, Missing missing, std::ostream& err) {
  std::error_code ec;
  if (missing == Missing::isError && !fs::exists(file, ec)) {
    failure(err, {"read", file, std::make_error_code(std::errc::no_such_file_or_directory)});
    return nullptr;
  }
  auto dict = std::make_unique<UserDictionary>(file);
  if (dict->loadError()) {
    failure(err, *dict->loadError());
    return nullptr;
  }
  return dict;
}

// Says where the original bytes of an ill-formed file went when the dictionary was written.
void reportKeptOriginal(const UserDictionary& dict, std::ostream& err) {
  if (const auto kept = dict.keptOriginal()) {
    err << "yakdrom userdict: " << dict.url().string()
        << " was not valid UTF-8; its original bytes are kept in " << kept->string() << "\n";
  }
}

int runShow(const Args& args, std::ostream& out, std::ostream& err) {
  const auto dict = open(args[0], Missing::isError, err);
  if (!dict) return kFailure;
  out << dict->renderText() << dict->count() << " entries\n";
  return 0;
}

std::string describe(UserDictionary::IgnoredReason reason) {
  switch (reason) {
    case UserDictionary::IgnoredReason::empty:
      return "empty";
    case UserDictionary::IgnoredReason::tooLong:
      return "longer than " + std::to_string(UserDictionary::kMaxWordCharacters) + " characters";
    case UserDictionary::IgnoredReason::lineBreak:
      return "holds a line feed or carriage return";
    case UserDictionary::IgnoredReason::illFormed:
      return "not well-formed UTF-8";
  }
  return "unknown reason";
}

// Keeps a report to one readable line: control characters, and every byte above ASCII of
// a word that is not UTF-8, are shown as escapes.
std::string shownWord(std::string_view word) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const bool utf8 = text::isWellFormedUtf8(word);
  std::string out = "\"";
  for (const char c : word) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += {'\\', c};
    } else if (byte < 0x20 || byte == 0x7F || (byte >= 0x80 && !utf8)) {
      out += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
    } else {
      out += c;
    }
  }
  return out + "\"";
}

// Each word learn() would ignore is reported, and the others are learnt all the same.
int runLearn(const Args& args, std::ostream& out, std::ostream& err) {
  const auto dict = open(args[0], Missing::isEmpty, err);
  if (!dict) return kFailure;
  for (std::size_t k = 1; k < args.size(); ++k) {
    if (const auto ignored = UserDictionary::whyNotLearnable(args[k])) {
      err << "yakdrom userdict: ignored " << shownWord(args[k]) << ": " << describe(*ignored)
          << "\n";
    } else {
      dict->learn(args[k]);
    }
  }
  const auto written = dict->flush();
  if (!written) return failure(err, written.error());
  reportKeptOriginal(*dict, err);
  out << dict->count() << " entries\n";
  return 0;
}

int runImport(const Args& args, std::ostream& out, std::ostream& err) {
  const auto dict = open(args[0], Missing::isEmpty, err);
  if (!dict) return kFailure;
  const auto taken = dict->importWords(args[1]);
  if (!taken) return failure(err, taken.error());
  reportKeptOriginal(*dict, err);
  out << taken.value() << " entries imported\n" << dict->count() << " entries\n";
  return 0;
}

int runExport(const Args& args, std::ostream& out, std::ostream& err) {
  const auto dict = open(args[0], Missing::isError, err);
  if (!dict) return kFailure;
  const auto written = dict->exportTo(args[1]);
  if (!written) return failure(err, written.error());
  out << written.value() << " entries exported to " << args[1] << "\n";
  return 0;
}

std::optional<int> keepOption(const Args& args) {
  if (args.size() == 1) return UserDictionary::kDefaultBackupsKept;
  if (args.size() != 3 || args[1] != "--keep") return std::nullopt;
  int keep = 0;
  const std::string& n = args[2];
  const auto [end, ec] = std::from_chars(n.data(), n.data() + n.size(), keep);
  if (ec != std::errc() || end != n.data() + n.size() || keep < 0) return std::nullopt;
  return keep;
}

int runBackup(const Args& args, std::ostream& out, std::ostream& err) {
  const auto keep = keepOption(args);
  if (!keep) return usage(err, "backup takes FILE and an optional --keep N (N >= 0)");
  const auto dict = open(args[0], Missing::isError, err);
  if (!dict) return kFailure;
  const auto made = dict->backup(*keep);
  if (!made) return failure(err, made.error());
  out << made.value().string() << "\n";
  return 0;
}

struct Subcommand {
  std::string_view name;
  std::size_t minArgs;
  std::size_t maxArgs;
  int (*run)(const Args& args, std::ostream& out, std::ostream& err);
};

constexpr std::size_t kAnyNumber = static_cast<std::size_t>(-1);

constexpr Subcommand kSubcommands[] = {
    {"show", 1, 1, runShow},     {"learn", 2, kAnyNumber, runLearn}, {"import", 2, 2, runImport},
    {"export", 2, 2, runExport}, {"backup", 1, 3, runBackup},
};

}  // namespace

int runUserDict(const Args& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) return usage(err, "missing subcommand");
  for (const auto& sub : kSubcommands) {
    if (args[0] != sub.name) continue;
    const Args rest(args.begin() + 1, args.end());
    if (rest.size() < sub.minArgs || rest.size() > sub.maxArgs) {
      return usage(err, "wrong number of arguments for \"" + args[0] + "\"");
    }
    return sub.run(rest, out, err);
  }
  return usage(err, "unknown subcommand \"" + args[0] + "\"");
}

}  // namespace yakdrom::cli
