// Asks the release feed over HTTPS whether a newer Yakdrom exists. The feed's address is fixed
// by the build (YAKDROM_UPDATE_FEED_URL), never by the environment or the user's settings.
// Main thread.
#pragma once

#include <QList>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QString>
#include <QUrl>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <variant>

#include "ui/UpdateInfo.h"

class QNetworkAccessManager;

namespace yakdrom {

/// The feed offers nothing newer than the running version.
struct UpToDate {
  bool operator==(const UpToDate&) const = default;
};

/// The check did not get a usable answer; the reason is for the log, never for the user.
struct UpdateCheckFailure {
  QString reason;
  bool operator==(const UpdateCheckFailure&) const = default;
};

/// A newer release, nothing newer, or a failure.
using UpdateCheckResult = std::variant<UpdateInfo, UpToDate, UpdateCheckFailure>;

class UpdateChecker {
 public:
  /// The largest feed accepted; anything longer is refused before it is read to the end.
  static constexpr qint64 kMaxFeedBytes = qint64{64} * 1024;

  struct Config {
    QUrl feed;
    /// Certificates trusted, besides the system's, by this checker alone.
    QList<QSslCertificate> extraCertificates;
    std::chrono::milliseconds transferTimeout = std::chrono::seconds(10);
  };

  /// Returns the checker of the installed program, reading the feed the build names.
  [[nodiscard]] static UpdateChecker forProduct();

  /// Makes a checker that reads `config.feed`.
  explicit UpdateChecker(Config config);
  ~UpdateChecker();
  UpdateChecker(const UpdateChecker&) = delete;
  UpdateChecker& operator=(const UpdateChecker&) = delete;

  /// Returns the version of the running program.
  [[nodiscard]] static QString currentVersion();

  /// Reads the feed and later calls `done` once with what it found, unless this checker is
  /// destroyed first. Redirects are followed only to https addresses.
  void check(std::function<void(const UpdateCheckResult&)> done);

  /// Returns the address to download `update` from, resolved against the feed; nothing when
  /// the feed gives none or gives one that is neither http nor https.
  [[nodiscard]] std::optional<QUrl> downloadUrl(const UpdateInfo& update) const;

 private:
  Config config_;
  QSslConfiguration tls_;
  std::unique_ptr<QNetworkAccessManager> network_;
};

}  // namespace yakdrom
