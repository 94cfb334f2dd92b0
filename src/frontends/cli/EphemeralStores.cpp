#include "frontends/cli/EphemeralStores.h"

#include <cstdlib>

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

}  // namespace

OpenedStores EphemeralStores::open(const SessionOptions& options) {
  std::unique_ptr<EphemeralStores> stores(new EphemeralStores);
  for (const auto& assignment : options.settings) {
    if (auto problem = applySetting(assignment, *stores->preferences_)) {
      return {nullptr, kUsage, "--set " + *problem};
    }
  }
  std::filesystem::path file;
  if (options.userDictionary) {
    file = *options.userDictionary;
  } else {
    std::string pattern = (scratchParent() / "yakdrom-dictionary-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      return {nullptr, kFailure, "cannot make a scratch folder for the user dictionary"};
    }
    stores->scratch_ = pattern;
    file = *stores->scratch_ / "user-dictionary.txt";
  }
  stores->userDictionary_ = std::make_unique<UserDictionary>(file);
  if (const auto& loadError = stores->userDictionary_->loadError()) {
    return {nullptr, kFailure, loadError->message()};
  }
  stores->statistics_ = std::make_unique<InputStatistics>(stores->preferences_);
  return {std::move(stores), 0, {}};
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
  if (!written) return written.error().message();
  return std::nullopt;
}

}  // namespace yakdrom::cli
