// `yakdrom lexicon build|info|lookup`: builds lexicon files from word lists and explanation
// tables, and shows what the input method reads from one (through DictionaryLoader::load).
#include <charconv>
#include <chrono>
#include <filesystem>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "engine/lexicon/DictionaryEngine.h"
#include "engine/lexicon/DictionaryLoader.h"
#include "engine/lexicon/LexiconBuilder.h"
#include "engine/lexicon/LexiconWriter.h"
#include "engine/lexicon/TibetanDictionary.h"
#include "frontends/cli/Commands.h"

namespace yakdrom::cli {
namespace {

namespace fs = std::filesystem;
using Language = LexiconBuilder::Language;

constexpr int kFailure = 1;
constexpr int kUsage = 2;
constexpr int kDefaultLimit = 20;

constexpr std::string_view kUsageText =
    "usage: yakdrom lexicon build --words FILE... [--explanations-bo TSV]\n"
    "                             [--explanations-zh TSV] [--explanations-en TSV] --output FILE\n"
    "       yakdrom lexicon info FILE\n"
    "       yakdrom lexicon lookup FILE PREFIX [--limit N]\n";

struct ExplanationOption {
  std::string_view flag;
  Language language;
};

constexpr ExplanationOption kExplanationOptions[] = {
    {"--explanations-bo", Language::tibetan},
    {"--explanations-zh", Language::chinese},
    {"--explanations-en", Language::english},
    // The earlier spellings, kept so that old scripts still build.
    {"--definitions-bo", Language::tibetan},
    {"--definitions-zh", Language::chinese},
    {"--definitions-en", Language::english},
};

struct BuildOptions {
  std::vector<fs::path> wordFiles;
  std::vector<std::pair<Language, fs::path>> explanationFiles;
  fs::path output;
};

int usage(std::ostream& err, std::string_view problem) {
  err << "yakdrom lexicon: " << problem << "\n" << kUsageText;
  return kUsage;
}

int failure(std::ostream& err, std::string_view command, std::string_view message) {
  err << "yakdrom lexicon " << command << ": " << message << "\n";
  return kFailure;
}

const ExplanationOption* explanationOption(std::string_view flag) {
  for (const auto& option : kExplanationOptions) {
    if (option.flag == flag) return &option;
  }
  return nullptr;
}

// Returns the options, or the reason they make no command line.
std::variant<BuildOptions, std::string> parseBuild(const Args& args) {
  BuildOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view flag = args[i];
    const bool hasValue = i + 1 < args.size() && !args[i + 1].starts_with("--");
    if (!hasValue) return "\"" + std::string(flag) + "\" needs a file";
    if (flag == "--words") {
      while (i + 1 < args.size() && !args[i + 1].starts_with("--")) {
        options.wordFiles.emplace_back(args[++i]);
      }
    } else if (flag == "--output") {
      if (!options.output.empty()) return "--output given twice";
      options.output = args[++i];
    } else if (const auto* option = explanationOption(flag)) {
      options.explanationFiles.emplace_back(option->language, args[++i]);
    } else {
      return "unexpected \"" + std::string(flag) + "\"";
    }
  }
  if (options.wordFiles.empty()) return "build needs --words";
  if (options.output.empty()) return "build needs --output";
  return options;
}

// Loads through the same reader the input method uses, so the figures are what it sees.
std::optional<DictionaryLoader::Result> loadLexicon(std::string_view command, const fs::path& path,
                                                    std::ostream& err) {
  std::error_code error;
  if (!fs::exists(path, error)) {
    failure(err, command, path.string() + ": no such file");
    return std::nullopt;
  }
  auto result = DictionaryLoader::load(path);
  if (!result) {
    failure(err, command, result.error().message());
    return std::nullopt;
  }
  return std::move(result.value());
}

// Returns an input that names the same file as the output, through links or not; writing
// the lexicon over it would destroy a source.
const fs::path* inputAtOutput(const BuildOptions& options) {
  std::vector<const fs::path*> inputs;
  for (const auto& file : options.wordFiles) inputs.push_back(&file);
  for (const auto& [language, file] : options.explanationFiles) inputs.push_back(&file);
  for (const auto* input : inputs) {
    std::error_code error;
    if (fs::equivalent(*input, options.output, error)) return input;
  }
  return nullptr;
}

std::string describe(const DictionaryLoader::Result& content) {
  std::ostringstream s;
  s << content.words.size() << " words, " << content.explanations.size() << " Tibetan, "
    << content.chineseExplanations.size() << " Chinese, " << content.englishExplanations.size()
    << " English explanations";
  return s.str();
}

int build(const Args& args, std::ostream& out, std::ostream& err) {
  auto parsed = parseBuild(args);
  if (const auto* problem = std::get_if<std::string>(&parsed)) return usage(err, *problem);
  const auto& options = std::get<BuildOptions>(parsed);
  const LexiconForm form = LexiconWriter::formFor(options.output);
  for (const auto& [language, file] : options.explanationFiles) {
    if (form == LexiconForm::commaSeparated && language != Language::tibetan) {
      return usage(err,
                   "the comma-separated form holds Tibetan explanations only; "
                   "write a .dat file to keep Chinese or English ones");
    }
  }
  if (const auto* input = inputAtOutput(options)) {
    return failure(err, "build",
                   "the output " + options.output.string() + " is the input " + input->string());
  }
  LexiconBuilder builder;
  for (const auto& file : options.wordFiles) {
    if (const auto added = builder.addWordFile(file); !added) {
      return failure(err, "build", added.error().message());
    }
  }
  for (const auto& [language, file] : options.explanationFiles) {
    if (const auto added = builder.addExplanationFile(language, file); !added) {
      return failure(err, "build", added.error().message());
    }
  }
  for (const auto& issue : builder.issues()) {
    err << issue.file << ":" << issue.line << ": " << issue.reason << "\n";
  }
  const auto content = builder.build();
  if (content.words.empty()) return failure(err, "build", "no usable word in the word lists");
  const auto bytes = LexiconWriter::encode(content, form);
  if (!bytes) return failure(err, "build", "the content does not fit the lexicon format");
  if (const auto written = LexiconWriter::write(options.output, *bytes); !written) {
    return failure(err, "build", written.error().message());
  }
  out << "wrote " << options.output.string() << " ("
      << (form == LexiconForm::packed ? "packed" : "comma-separated") << "): " << describe(content)
      << "\n";
  return 0;
}

int info(const Args& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 1) return usage(err, "info takes one file");
  const fs::path path = args[0];
  const auto start = std::chrono::steady_clock::now();
  const auto content = loadLexicon("info", path, err);
  const std::chrono::duration<double, std::milli> elapsed =
      std::chrono::steady_clock::now() - start;
  if (!content) return kFailure;
  const auto form = DictionaryLoader::formOf(path);
  std::ostringstream time;
  time.setf(std::ios::fixed);
  time.precision(1);
  time << elapsed.count();
  out << "form: " << (form == LexiconForm::packed ? "packed" : "comma-separated") << "\n"
      << "words: " << content->words.size() << "\n"
      << "Tibetan explanations: " << content->explanations.size() << "\n"
      << "Chinese explanations: " << content->chineseExplanations.size() << "\n"
      << "English explanations: " << content->englishExplanations.size() << "\n"
      << "load time: " << time.str() << " ms\n";
  return 0;
}

std::optional<int> parseLimit(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 1) return std::nullopt;
  return value;
}

int lookup(const Args& args, std::ostream& out, std::ostream& err) {
  std::optional<int> limit = kDefaultLimit;
  if (args.size() == 4 && args[2] == "--limit") {
    limit = parseLimit(args[3]);
    if (!limit) return usage(err, "--limit needs a whole number of at least 1");
  } else if (args.size() != 2) {
    return usage(err, "lookup takes a file and a prefix");
  }
  auto content = loadLexicon("lookup", args[0], err);
  if (!content) return kFailure;
  DictionaryEngine engine;
  engine.install(std::move(content->words));
  TibetanDictionary explanations;
  explanations.install(std::move(content->explanations), std::move(content->chineseExplanations),
                       std::move(content->englishExplanations));
  for (const auto& word : engine.candidates(args[1], *limit)) {
    out << word;
    if (auto e = explanations.explanation(word)) out << "\tbo: " << *e;
    if (auto e = explanations.chineseExplanation(word)) out << "\tzh: " << *e;
    if (auto e = explanations.englishExplanation(word)) out << "\ten: " << *e;
    out << "\n";
  }
  return 0;
}

struct Subcommand {
  std::string_view name;
  int (*run)(const Args& args, std::ostream& out, std::ostream& err);
};

constexpr Subcommand kSubcommands[] = {{"build", build}, {"info", info}, {"lookup", lookup}};

}  // namespace

int runLexicon(const Args& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) return usage(err, "which lexicon command?");
  for (const auto& sub : kSubcommands) {
    if (args[0] == sub.name) return sub.run(Args(args.begin() + 1, args.end()), out, err);
  }
  return usage(err, "unknown lexicon command \"" + args[0] + "\"");
}

}  // namespace yakdrom::cli
