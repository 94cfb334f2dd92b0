#include "ui/QSettingsPreferenceStore.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <QSettings>
#include <QVariant>
#include <QVariantMap>

#include "engine/store/SettingsFileLock.h"
#include "engine/store/StoredText.h"

namespace yakdrom {
namespace {

using detail::parseBoolean;
using detail::parseWhole;
using detail::truncated;

constexpr std::int64_t kNsPerMs = 1'000'000;

QString toQString(std::string_view key) {
  return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

bool isText(const QVariant& v) { return v.typeId() == QMetaType::QString; }

bool isBoolean(const QVariant& v) { return v.typeId() == QMetaType::Bool; }

bool isInteger(const QVariant& v) {
  switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
      return true;
    case QMetaType::ULongLong:
      return v.toULongLong() <= static_cast<qulonglong>(INT64_MAX);
    default:
      return false;
  }
}

bool isReal(const QVariant& v) {
  return v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float;
}

// A typed value is read as written; text (every number and Boolean after the file is
// read back) is parsed as an integer, a real or a Boolean, in that order.
std::optional<std::int64_t> toInteger(const QVariant& v) {
  if (isInteger(v)) return v.toLongLong();
  if (isReal(v)) return truncated(v.toDouble());
  if (isBoolean(v)) return v.toBool() ? 1 : 0;
  if (!isText(v)) return std::nullopt;
  const std::string text = v.toString().toStdString();
  if (auto n = parseWhole<std::int64_t>(text)) return n;
  if (auto d = parseWhole<double>(text)) return truncated(*d);
  if (auto b = parseBoolean(text)) return *b ? 1 : 0;
  return std::nullopt;
}

std::optional<double> toReal(const QVariant& v) {
  if (isInteger(v)) return static_cast<double>(v.toLongLong());
  if (isReal(v)) return v.toDouble();
  if (isBoolean(v)) return v.toBool() ? 1.0 : 0.0;
  if (!isText(v)) return std::nullopt;
  const std::string text = v.toString().toStdString();
  if (auto d = parseWhole<double>(text)) return d;
  if (auto b = parseBoolean(text)) return *b ? 1.0 : 0.0;
  return std::nullopt;
}

std::optional<bool> toBoolean(const QVariant& v) {
  if (isBoolean(v)) return v.toBool();
  if (isInteger(v)) return v.toLongLong() != 0;
  if (isReal(v)) return v.toDouble() != 0.0;
  if (!isText(v)) return std::nullopt;
  const std::string text = v.toString().toStdString();
  if (auto b = parseBoolean(text)) return b;
  if (auto d = parseWhole<double>(text)) return *d != 0.0;
  return std::nullopt;
}

// Map values are integers only; text that is an exact integer is accepted, since a map
// edited by hand or written by another tool may hold its numbers as text.
std::optional<std::int64_t> toMapInteger(const QVariant& v) {
  if (isInteger(v)) return v.toLongLong();
  if (isText(v)) return parseWhole<std::int64_t>(v.toString().toStdString());
  return std::nullopt;
}

std::unique_ptr<QSettings> openFile(const std::filesystem::path& file) {
  return std::make_unique<QSettings>(QString::fromStdString(file.string()), QSettings::IniFormat);
}

// QSettings re-reads the file only when its size or its time stamp in milliseconds changed.
bool alikeToQt(const detail::FileIdentity& a, const detail::FileIdentity& b) {
  return a.size == b.size && a.modifiedSeconds == b.modifiedSeconds &&
         a.modifiedNanoseconds / kNsPerMs == b.modifiedNanoseconds / kNsPerMs;
}

// Moves the time stamp of `file` a millisecond on, leaving its bytes alone.
void laterTimeStamp(const std::filesystem::path& file) {
  const auto stamp = detail::FileIdentity::of(file);
  if (!stamp) return;
  const std::int64_t ns = stamp->modifiedNanoseconds + kNsPerMs;
  const timespec times[2] = {
      {0, UTIME_OMIT}, {stamp->modifiedSeconds + ns / (1000 * kNsPerMs), ns % (1000 * kNsPerMs)}};
  (void)::utimensat(AT_FDCWD, file.c_str(), times, 0);
}

}  // namespace

QSettingsPreferenceStore::QSettingsPreferenceStore()
    : QSettingsPreferenceStore(
          std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                      QStringLiteral("Yakdrom"), QStringLiteral("Yakdrom"))) {}

QSettingsPreferenceStore::QSettingsPreferenceStore(const std::filesystem::path& file)
    : QSettingsPreferenceStore(openFile(file)) {}

QSettingsPreferenceStore::QSettingsPreferenceStore(std::unique_ptr<QSettings> settings)
    : settings_(std::move(settings)), file_(settings_->fileName().toStdString()) {}

QSettingsPreferenceStore::~QSettingsPreferenceStore() = default;

// Returns false when the file could not be read or written. QSettings keeps the status of
// its first failure, so a failure is checked by a fresh QSettings, which syncs as it opens.
bool QSettingsPreferenceStore::sync() const {
  settings_->sync();
  if (settings_->status() == QSettings::NoError) return true;
  settings_ = openFile(file_);
  return settings_->status() != QSettings::AccessError;
}

// One stat (about 0.3 µs, less than the sync it spares) notices a file that another
// program replaced, even one of the same size in the same millisecond, which QSettings
// would take for the copy it holds: that one gets a later time stamp so that the sync
// reads it. `locked` says whether this thread holds the SettingsFileLock already.
void QSettingsPreferenceStore::refresh(bool locked) const {
  if (!looks_.readLooks()) return;
  const auto current = detail::FileIdentity::of(file_);
  if (synced_ && current == syncedStamp_) return;
  if (current && syncedStamp_ && alikeToQt(*current, *syncedStamp_)) {
    if (locked) {
      laterTimeStamp(file_);
    } else {
      const SettingsFileLock fileLock(file_);
      laterTimeStamp(file_);
    }
  }
  (void)sync();
  synced_ = true;
  syncedStamp_ = detail::FileIdentity::of(file_);
}

// Within update() the file is locked and already read.
QVariant QSettingsPreferenceStore::value(std::string_view key) const {
  std::lock_guard lock(mutex_);
  if (!updating_) refresh(false);
  return settings_->value(toQString(key));
}

void QSettingsPreferenceStore::put(std::string_view key, const QVariant& value) {
  update([&](PreferenceStore&) { settings_->setValue(toQString(key), value); });
}

void QSettingsPreferenceStore::update(const std::function<void(PreferenceStore&)>& change) {
  std::lock_guard lock(mutex_);
  if (updating_) {
    change(*this);
    return;
  }
  const SettingsFileLock fileLock(file_);
  looks_.forget();
  refresh(fileLock.held());
  updating_ = true;
  change(*this);
  updating_ = false;
  lastError_.reset();
  if (!sync()) lastError_ = "cannot read or write " + file_.string();
  syncedStamp_ = detail::FileIdentity::of(file_);
}

void QSettingsPreferenceStore::beginReads() const {
  std::lock_guard lock(mutex_);
  looks_.beginScope();
}

void QSettingsPreferenceStore::endReads() const {
  std::lock_guard lock(mutex_);
  looks_.endScope();
}

std::optional<std::int64_t> QSettingsPreferenceStore::integer(std::string_view key) const {
  return toInteger(value(key));
}

std::optional<double> QSettingsPreferenceStore::real(std::string_view key) const {
  return toReal(value(key));
}

std::optional<bool> QSettingsPreferenceStore::boolean(std::string_view key) const {
  return toBoolean(value(key));
}

std::optional<std::string> QSettingsPreferenceStore::string(std::string_view key) const {
  const QVariant v = value(key);
  if (!isText(v) && !isInteger(v) && !isReal(v) && !isBoolean(v)) return std::nullopt;
  return v.toString().toStdString();
}

std::optional<IntegerMap> QSettingsPreferenceStore::integerMap(std::string_view key) const {
  const QVariant v = value(key);
  if (v.typeId() != QMetaType::QVariantMap) return std::nullopt;
  IntegerMap map;
  const QVariantMap stored = v.toMap();
  for (auto it = stored.cbegin(); it != stored.cend(); ++it) {
    const auto n = toMapInteger(it.value());
    if (!n) return std::nullopt;
    map.emplace(it.key().toStdString(), *n);
  }
  return map;
}

void QSettingsPreferenceStore::setInteger(std::string_view key, std::int64_t value) {
  put(key, QVariant::fromValue(static_cast<qlonglong>(value)));
}

void QSettingsPreferenceStore::setReal(std::string_view key, double value) {
  put(key, QVariant(value));
}

void QSettingsPreferenceStore::setBoolean(std::string_view key, bool value) {
  put(key, QVariant(value));
}

void QSettingsPreferenceStore::setString(std::string_view key, std::string_view value) {
  put(key, QVariant(toQString(value)));
}

void QSettingsPreferenceStore::setIntegerMap(std::string_view key, const IntegerMap& value) {
  QVariantMap map;
  for (const auto& [name, n] : value) {
    map.insert(QString::fromStdString(name), QVariant::fromValue(static_cast<qlonglong>(n)));
  }
  put(key, map);
}

void QSettingsPreferenceStore::remove(std::string_view key) {
  update([&](PreferenceStore&) { settings_->remove(toQString(key)); });
}

bool QSettingsPreferenceStore::contains(std::string_view key) const {
  std::lock_guard lock(mutex_);
  if (!updating_) refresh(false);
  return settings_->contains(toQString(key));
}

std::optional<std::string> QSettingsPreferenceStore::lastError() const {
  std::lock_guard lock(mutex_);
  return lastError_;
}

}  // namespace yakdrom
