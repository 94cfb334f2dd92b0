#include "frontends/cli/EphemeralStores.h"

#include <unistd.h>

#include <cstdlib>

#include "frontends/cli/RegularFile.h"
#include "frontends/cli/SettingAssignment.h"

namespace yakdrom::cli {
namespace {

constexpr int kFailure = 1;
constexpr int kUsage = 2;

// A dictionary that is never kept is written to memory where the system offers it (the
// user's runtime folder, /dev/shm), so its background writes never wait for a disk.
std::filesystem::path scratchParent() {
  std::error_code ec;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && runtime[0] == '/') {
    if (std::filesystem::is_directory(runtime, ec)) return runtime;
  }
  if (std::filesystem::is_directory("/dev/shm", ec)) return "/dev/shm";
  return std::filesystem::temp_directory_path(ec);
}

// The file is replaced through a new file beside it, so a folder that cannot be written
// fails the save even when the file itself could be; the message says so, since the file's
// own permissions would mislead.
std::string saveFailure(const FileError& error) {
  std::error_code ec;
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(error.path, ec);
  const std::filesystem::path folder = (ec ? error.path : resolved).parent_path();
  if (folder.empty() || !std::filesystem::is_directory(folder, ec) ||
      ::access(folder.c_str(), W_OK) == 0) {
    return error.message();
  }
  return error.message() + "; the folder " + folder.string() + " is read-only";
}

}  // namespace

OpenedStores EphemeralStores::open(const SessionOptions& options) {
  std::unique_ptr<EphemeralStores> stores(new EphemeralStores);
  std::vector<std::string> warnings;
  for (const auto& assignment : options.settings) {
    auto applied = applySetting(assignment, *stores->preferences_);
    if (applied.problem) return {nullptr, kUsage, "--set " + *applied.problem, {}};
    if (applied.warning) warnings.push_back(std::move(*applied.warning));
  }
  std::filesystem::path file;
  if (options.userDictionary) {
    file = *options.userDictionary;
    if (const auto kind = nonRegularKind(file)) {
      return {nullptr,
              kFailure,
              "cannot keep the user dictionary in " + file.string() + ": it is " +
                  std::string(*kind) + ", not a file",
              {}};
    }
  } else {
    std::string pattern = (scratchParent() / "yakdrom-dictionary-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      return {nullptr, kFailure, "cannot make a scratch folder for the user dictionary", {}};
    }
    stores->scratch_ = pattern;
    file = *stores->scratch_ / "user-dictionary.txt";
  }
  stores->userDictionary_ = std::make_unique<UserDictionary>(file);
  if (const auto& loadError = stores->userDictionary_->loadError()) {
    return {nullptr, kFailure, loadError->message(), {}};
  }
  stores->statistics_ = std::make_unique<InputStatistics>(stores->preferences_);
  return {std::move(stores), 0, {}, std::move(warnings)};
}

EphemeralStores::~EphemeralStores() {
  // The dictionary finishes its writes first, so nothing is written into a removed folder.
  userDictionary_.reset();
  if (scratch_) {
    std::error_code ignored;
    std::filesystem::remove_all(*scratch_, ignored);
  }
}

SessionStores EphemeralStores::stores(DictionaryStore& lexicon) {
  return {*preferences_, *userDictionary_, *statistics_, lexicon};
}

std::optional<std::string> EphemeralStores::save() {
  if (scratch_) return std::nullopt;
  const auto written = userDictionary_->flush();
  if (!written) return saveFailure(written.error());
  return std::nullopt;
}

}  // namespace yakdrom::cli
