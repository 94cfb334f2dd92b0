// What the update feed says about the newest release, and how release numbers order. Any
// thread.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <compare>
#include <optional>
#include <variant>

namespace yakdrom {

struct UpdateInfo {
  /// Dotted numbers, such as "2.10.1".
  QString version;
  /// The feed's build number; read so that a wrong type is caught, otherwise unused.
  std::optional<qint64> build;
  /// Where the release can be downloaded, possibly relative to the feed; empty when not given.
  QString download;
  /// The release notes in Chinese and in English; empty when not given.
  QString notesZh;
  QString notesEn;

  bool operator==(const UpdateInfo&) const = default;

  /// Reads the feed's JSON object, or returns why it cannot: not an object, no "version",
  /// a version that is not dotted numbers, or a known member of the wrong type.
  [[nodiscard]] static std::variant<UpdateInfo, QString> fromJson(const QByteArray& json);
};

/// Returns whether `version` is one or more runs of digits joined by dots.
[[nodiscard]] bool isDottedVersion(QStringView version);

/// Orders two dotted versions number by number, each by its value, so "2.10" follows "2.9";
/// a missing number counts as 0, so "2.1" equals "2.1.0" and precedes "2.1.1".
[[nodiscard]] std::strong_ordering compareVersions(QStringView a, QStringView b);

}  // namespace yakdrom
