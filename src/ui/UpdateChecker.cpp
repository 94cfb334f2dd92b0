#include "ui/UpdateChecker.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <utility>

#include "YakdromVersion.h"
#include "ui/LocalizedText.h"

namespace yakdrom {
namespace {

// One request in flight: the body so far and, once the checker has refused the answer, why.
struct Transfer {
  QNetworkReply& reply;
  std::function<void(const UpdateCheckResult&)> done;
  QByteArray body;
  QString refusal;

  void refuse(const QString& reason) {
    if (refusal.isEmpty()) refusal = reason;
    reply.abort();
  }
};

UpdateCheckResult decoded(const QByteArray& body) {
  auto read = UpdateInfo::fromJson(body);
  if (auto* failure = std::get_if<QString>(&read)) return UpdateCheckFailure{"feed: " + *failure};
  auto& update = std::get<UpdateInfo>(read);
  if (std::is_gt(compareVersions(update.version, UpdateChecker::currentVersion()))) return update;
  return UpToDate{};
}

UpdateCheckResult outcome(const Transfer& transfer) {
  if (!transfer.refusal.isEmpty()) return UpdateCheckFailure{transfer.refusal};
  const QNetworkReply& reply = transfer.reply;
  const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  if (status != 200 && status != 0) {
    return UpdateCheckFailure{QStringLiteral("HTTP status %1").arg(status)};
  }
  if (reply.error() != QNetworkReply::NoError) {
    return UpdateCheckFailure{"network: " + reply.errorString()};
  }
  return decoded(transfer.body);
}

void refuseOversizedLength(Transfer& transfer) {
  const QVariant length = transfer.reply.header(QNetworkRequest::ContentLengthHeader);
  if (length.isValid() && length.toLongLong() > UpdateChecker::kMaxFeedBytes) {
    transfer.refuse(QStringLiteral("feed of %1 bytes is over the limit").arg(length.toLongLong()));
  }
}

void readBody(Transfer& transfer) {
  transfer.body += transfer.reply.readAll();
  if (transfer.body.size() > UpdateChecker::kMaxFeedBytes) {
    transfer.refuse(
        QStringLiteral("feed is over the limit of %1 bytes").arg(UpdateChecker::kMaxFeedBytes));
  }
}

// A redirect must not lower the protection the feed was asked for.
void vetRedirect(Transfer& transfer, const QUrl& target) {
  if (target.scheme() == QLatin1String("https")) {
    emit transfer.reply.redirectAllowed();
  } else {
    transfer.refuse("refused redirect to " + target.toString());
  }
}

QSslConfiguration trusting(const QList<QSslCertificate>& extraCertificates) {
  QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
  // Adding certificates turns off the loading of the system's on demand, so they are named.
  if (!extraCertificates.isEmpty()) {
    tls.setCaCertificates(QSslConfiguration::systemCaCertificates() + extraCertificates);
  }
  return tls;
}

}  // namespace

UpdateChecker UpdateChecker::forProduct() {
  Config product;
  product.feed = QUrl(QStringLiteral(YAKDROM_UPDATE_FEED_URL));
  return UpdateChecker(std::move(product));
}

UpdateChecker::UpdateChecker(Config config)
    : config_(std::move(config)),
      tls_(trusting(config_.extraCertificates)),
      network_(std::make_unique<QNetworkAccessManager>()) {}

UpdateChecker::~UpdateChecker() = default;

QString UpdateChecker::currentVersion() { return qtString(kYakdromVersion); }

void UpdateChecker::check(std::function<void(const UpdateCheckResult&)> done) {
  QNetworkRequest request(config_.feed);
  request.setSslConfiguration(tls_);
  request.setTransferTimeout(static_cast<int>(config_.transferTimeout.count()));
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                       QNetworkRequest::UserVerifiedRedirectPolicy);
  QNetworkReply* reply = network_->get(request);
  auto transfer = std::make_shared<Transfer>(Transfer{*reply, std::move(done), {}, {}});
  QObject::connect(reply, &QNetworkReply::metaDataChanged, reply,
                   [transfer] { refuseOversizedLength(*transfer); });
  QObject::connect(reply, &QNetworkReply::readyRead, reply, [transfer] { readBody(*transfer); });
  QObject::connect(reply, &QNetworkReply::redirected, reply,
                   [transfer](const QUrl& target) { vetRedirect(*transfer, target); });
  QObject::connect(reply, &QNetworkReply::finished, reply, [transfer] {
    transfer->reply.deleteLater();
    // An abort from inside a handler may finish the reply again; report it once.
    if (!transfer->done) return;
    // An aborted reply is closed, with nothing left to read.
    if (transfer->reply.isOpen()) readBody(*transfer);
    const auto done = std::exchange(transfer->done, nullptr);
    done(outcome(*transfer));
  });
}

std::optional<QUrl> UpdateChecker::downloadUrl(const UpdateInfo& update) const {
  if (update.download.isEmpty()) return std::nullopt;
  const QUrl url = config_.feed.resolved(QUrl(update.download));
  const QString scheme = url.scheme();
  if (scheme != QLatin1String("https") && scheme != QLatin1String("http")) return std::nullopt;
  return url;
}

}  // namespace yakdrom
