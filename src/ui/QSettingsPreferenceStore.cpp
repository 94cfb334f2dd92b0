#include "ui/QSettingsPreferenceStore.h"

#include <QSettings>
#include <QVariant>
#include <QVariantMap>
#include <charconv>
#include <cmath>

namespace yakdrom {
namespace {

QString toQString(std::string_view key) {
  return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

std::optional<std::int64_t> truncated(double d) {
  constexpr double kLimit = 9223372036854775807.0;
  if (!std::isfinite(d) || d >= kLimit || d < -kLimit) return std::nullopt;
  return static_cast<std::int64_t>(d);
}

template <class Number>
std::optional<Number> parseWhole(const std::string& text) {
  Number n{};
  const char* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, n);
  if (error != std::errc{} || ptr != end) return std::nullopt;
  return n;
}

std::optional<bool> parseBoolean(const std::string& text) {
  if (text == "true") return true;
  if (text == "false") return false;
  return std::nullopt;
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

}  // namespace

QSettingsPreferenceStore::QSettingsPreferenceStore()
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                            QStringLiteral("Yakdrom"), QStringLiteral("Yakdrom"))) {
}

QSettingsPreferenceStore::QSettingsPreferenceStore(const std::filesystem::path& file)
    : settings_(std::make_unique<QSettings>(QString::fromStdString(file.string()),
                                            QSettings::IniFormat)) {}

QSettingsPreferenceStore::~QSettingsPreferenceStore() = default;

QVariant QSettingsPreferenceStore::value(std::string_view key) const {
  std::lock_guard lock(mutex_);
  // Cheap when the file is unchanged: QSettings compares size and time stamp first.
  settings_->sync();
  return settings_->value(toQString(key));
}

void QSettingsPreferenceStore::put(std::string_view key, const QVariant& value) {
  std::lock_guard lock(mutex_);
  settings_->setValue(toQString(key), value);
  settings_->sync();
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
  std::lock_guard lock(mutex_);
  settings_->remove(toQString(key));
  settings_->sync();
}

bool QSettingsPreferenceStore::contains(std::string_view key) const {
  std::lock_guard lock(mutex_);
  settings_->sync();
  return settings_->contains(toQString(key));
}

bool QSettingsPreferenceStore::isHealthy() const {
  std::lock_guard lock(mutex_);
  return settings_->status() == QSettings::NoError;
}

std::filesystem::path QSettingsPreferenceStore::file() const {
  std::lock_guard lock(mutex_);
  return settings_->fileName().toStdString();
}

}  // namespace yakdrom
