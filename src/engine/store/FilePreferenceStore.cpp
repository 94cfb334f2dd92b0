#include "engine/store/FilePreferenceStore.h"

#include <array>
#include <charconv>
#include <utility>

#include "engine/learning/AtomicFile.h"
#include "engine/store/IniValue.h"
#include "engine/store/SettingsFileLock.h"
#include "engine/store/StoredText.h"
#include "engine/store/UserFolders.h"

namespace yakdrom {
namespace {

using detail::parseBoolean;
using detail::parseWhole;
using detail::truncated;

namespace fs = std::filesystem;

}  // namespace

FilePreferenceStore::FilePreferenceStore(fs::path file) : file_(std::move(file)) {}

fs::path FilePreferenceStore::userFile() { return UserFolders::config() / "Yakdrom.ini"; }

// Cheap when the file is unchanged: one stat (about 0.3 µs), so every read may make
// it and see another program's change at once.
void FilePreferenceStore::reloadIfChanged() const {
  if (!looks_.readLooks()) return;
  const auto current = detail::FileIdentity::of(file_);
  if (loaded_ && current == loadedStamp_) return;
  loaded_ = true;
  loadedStamp_ = current;
  document_ = IniDocument();
  readError_.reset();
  if (!current) return;
  const auto bytes = detail::AtomicFile::read(file_);
  if (!bytes.ok()) {
    readError_ = bytes.error().message();
    return;
  }
  document_ = IniDocument::parse({bytes.value().data(), bytes.value().size()});
}

// Within update() the file is locked and already read.
std::optional<std::string> FilePreferenceStore::raw(std::string_view key) const {
  std::lock_guard lock(mutex_);
  if (!updating_) reloadIfChanged();
  return document_.value(key);
}

void FilePreferenceStore::put(std::string_view key, std::string raw) {
  update([&](PreferenceStore&) {
    document_.set(key, std::move(raw));
    changed_ = true;
  });
}

void FilePreferenceStore::update(const std::function<void(PreferenceStore&)>& change) {
  std::lock_guard lock(mutex_);
  if (updating_) {
    change(*this);
    return;
  }
  const SettingsFileLock fileLock(file_);
  looks_.forget();
  reloadIfChanged();
  updating_ = true;
  changed_ = false;
  change(*this);
  updating_ = false;
  if (changed_) save();
}

// A file that could not be read is left alone: writing would replace what it holds with
// the values just set.
void FilePreferenceStore::save() {
  if (readError_) {
    writeError_ = *readError_;
    return;
  }
  const auto written = detail::AtomicFile::write(file_, document_.text());
  writeError_.reset();
  if (!written.ok()) writeError_ = written.error().message();
  loadedStamp_ = detail::FileIdentity::of(file_);
}

void FilePreferenceStore::beginReads() const {
  std::lock_guard lock(mutex_);
  looks_.beginScope();
}

void FilePreferenceStore::endReads() const {
  std::lock_guard lock(mutex_);
  looks_.endScope();
}

std::optional<std::int64_t> FilePreferenceStore::integer(std::string_view key) const {
  const auto text = string(key);
  if (!text) return std::nullopt;
  if (auto n = parseWhole<std::int64_t>(*text)) return n;
  if (auto d = parseWhole<double>(*text)) return truncated(*d);
  if (auto b = parseBoolean(*text)) return *b ? 1 : 0;
  return std::nullopt;
}

std::optional<double> FilePreferenceStore::real(std::string_view key) const {
  const auto text = string(key);
  if (!text) return std::nullopt;
  if (auto d = parseWhole<double>(*text)) return d;
  if (auto b = parseBoolean(*text)) return *b ? 1.0 : 0.0;
  return std::nullopt;
}

std::optional<bool> FilePreferenceStore::boolean(std::string_view key) const {
  const auto text = string(key);
  if (!text) return std::nullopt;
  if (auto b = parseBoolean(*text)) return b;
  if (auto d = parseWhole<double>(*text)) return *d != 0.0;
  return std::nullopt;
}

std::optional<std::string> FilePreferenceStore::string(std::string_view key) const {
  const auto value = raw(key);
  if (!value) return std::nullopt;
  return ini::decodeText(*value);
}

std::optional<IntegerMap> FilePreferenceStore::integerMap(std::string_view key) const {
  const auto value = raw(key);
  if (!value) return std::nullopt;
  return ini::decodeIntegerMap(*value);
}

void FilePreferenceStore::setInteger(std::string_view key, std::int64_t value) {
  put(key, std::to_string(value));
}

void FilePreferenceStore::setReal(std::string_view key, double value) {
  // The shortest text that reads back as `value`, as QSettings writes a double.
  std::array<char, 32> text{};
  const auto end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
  put(key, std::string(text.data(), end));
}

void FilePreferenceStore::setBoolean(std::string_view key, bool value) {
  put(key, value ? "true" : "false");
}

void FilePreferenceStore::setString(std::string_view key, std::string_view value) {
  put(key, ini::encodeText(value));
}

void FilePreferenceStore::setIntegerMap(std::string_view key, const IntegerMap& value) {
  put(key, ini::encodeIntegerMap(value));
}

void FilePreferenceStore::remove(std::string_view key) {
  update([&](PreferenceStore&) { changed_ = document_.remove(key) || changed_; });
}

bool FilePreferenceStore::contains(std::string_view key) const { return raw(key).has_value(); }

std::optional<std::string> FilePreferenceStore::lastError() const {
  std::lock_guard lock(mutex_);
  return writeError_;
}

}  // namespace yakdrom
