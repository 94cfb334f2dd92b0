#include "ui/UpdateInfo.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QLatin1String>
#include <QList>
#include <algorithm>
#include <array>

namespace yakdrom {
namespace {

struct TextMember {
  QLatin1String name;
  QString UpdateInfo::*field;
};

constexpr std::array kTextMembers = {
    TextMember{QLatin1String("download"), &UpdateInfo::download},
    TextMember{QLatin1String("notes_zh"), &UpdateInfo::notesZh},
    TextMember{QLatin1String("notes_en"), &UpdateInfo::notesEn},
};

QString wrongType(QLatin1String name, const char* type) {
  return QStringLiteral("\"%1\" is not %2").arg(name, QLatin1String(type));
}

// JSON has only doubles; a build number must be one with no fraction that fits 64 bits.
std::optional<qint64> integer(const QJsonValue& value) {
  if (!value.isDouble()) return std::nullopt;
  const qint64 whole = value.toInteger();
  if (static_cast<double>(whole) != value.toDouble()) return std::nullopt;
  return whole;
}

// Returns the failure, if any, of reading the optional members into `info`.
std::optional<QString> readOptionalMembers(const QJsonObject& object, UpdateInfo& info) {
  for (const auto& [name, field] : kTextMembers) {
    const QJsonValue value = object.value(name);
    if (value.isUndefined()) continue;
    if (!value.isString()) return wrongType(name, "a string");
    info.*field = value.toString();
  }
  const QJsonValue build = object.value(QLatin1String("build"));
  if (build.isUndefined()) return std::nullopt;
  info.build = integer(build);
  if (!info.build) return wrongType(QLatin1String("build"), "an integer");
  return std::nullopt;
}

// Numbers compare by value; as text without leading zeros, a longer one is the larger, so
// numbers of any length compare without overflow.
std::strong_ordering compareNumbers(QStringView a, QStringView b) {
  const auto significant = [](QStringView digits) {
    while (digits.size() > 1 && digits.front() == u'0') digits = digits.mid(1);
    return digits;
  };
  a = significant(a);
  b = significant(b);
  if (a.size() != b.size()) return a.size() <=> b.size();
  return a.compare(b) <=> 0;
}

}  // namespace

std::variant<UpdateInfo, QString> UpdateInfo::fromJson(const QByteArray& json) {
  QJsonParseError error{};
  const QJsonDocument document = QJsonDocument::fromJson(json, &error);
  if (error.error != QJsonParseError::NoError) return "not JSON: " + error.errorString();
  if (!document.isObject()) return QStringLiteral("not a JSON object");
  const QJsonObject object = document.object();
  const QJsonValue version = object.value(QLatin1String("version"));
  if (!version.isString() || !isDottedVersion(version.toString())) {
    return QStringLiteral("\"version\" is missing or not dotted numbers");
  }
  UpdateInfo info;
  info.version = version.toString();
  if (auto failure = readOptionalMembers(object, info)) return *std::move(failure);
  return info;
}

bool isDottedVersion(QStringView version) {
  const QList<QStringView> numbers = version.split(u'.');
  return std::ranges::all_of(numbers, [](QStringView number) {
    return !number.isEmpty() &&
           std::ranges::all_of(number, [](QChar c) { return c >= u'0' && c <= u'9'; });
  });
}

std::strong_ordering compareVersions(QStringView a, QStringView b) {
  const QList<QStringView> left = a.split(u'.');
  const QList<QStringView> right = b.split(u'.');
  const qsizetype count = std::max(left.size(), right.size());
  const auto number = [](const QList<QStringView>& numbers, qsizetype i) {
    return i < numbers.size() ? numbers[i] : QStringView(u"0");
  };
  for (qsizetype i = 0; i < count; ++i) {
    const std::strong_ordering order = compareNumbers(number(left, i), number(right, i));
    if (std::is_neq(order)) return order;
  }
  return std::strong_ordering::equal;
}

}  // namespace yakdrom
