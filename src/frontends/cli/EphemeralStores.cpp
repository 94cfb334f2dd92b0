#include "frontends/cli/EphemeralStores.h"

#include <cstdlib>

#include "frontends/cli/SettingAssignment.h"

namespace yakdrom::cli {
namespace {

constexpr int kFailure = 1;
constexpr int kUsage = 2;

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
    std::error_code ec;
    std::string pattern =
        (std::filesystem::temp_directory_path(ec) / "yakdrom-dictionary-XXXXXX").string();
    if (ec || ::mkdtemp(pattern.data()) == nullptr) {
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

SessionStores EphemeralStores::stores() { return {*preferences_, *userDictionary_, *statistics_}; }

std::optional<std::string> EphemeralStores::save() {
  if (scratch_) return std::nullopt;
  const auto written = userDictionary_->flush();
  if (!written) return written.error().message();
  return std::nullopt;
}

}  // namespace yakdrom::cli
