#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QPushButton>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "ui/UpdateChecker.h"
#include "ui/settings/SettingsTestWindow.h"

namespace yakdrom {
namespace {

using namespace std::chrono_literals;

constexpr int kWaitMs = 5000;

QByteArray testFile(const char* name) {
  QFile file(QStringLiteral(YAKDROM_UI_TEST_DATA "/") + QLatin1String(name));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
  return file.readAll();
}

QSslCertificate serverCertificate() { return QSslCertificate(testFile("update-server.crt")); }

// A server on 127.0.0.1 that answers each path as the test scripted it and remembers the
// requests, over TLS with the test certificate or in plain HTTP.
class LoopbackServer {
 public:
  enum class Transport { https, http };
  /// How the body's end is told: by its length, by closing the connection, or by a length
  /// whose body never comes after its first byte.
  enum class Framing { length, untilClose, lengthThenStall };
  struct Response {
    int status = 200;
    QByteArray body;
    std::vector<std::pair<QByteArray, QByteArray>> headers;
    Framing framing = Framing::length;
    std::chrono::milliseconds delay{0};
  };
  struct Request {
    QString path;
    QByteArray head;
  };

  explicit LoopbackServer(Transport transport) : transport_(transport) {
    if (transport == Transport::https) {
      auto tls = std::make_unique<QSslServer>();
      QSslConfiguration config = QSslConfiguration::defaultConfiguration();
      config.setLocalCertificate(serverCertificate());
      config.setPrivateKey(QSslKey(testFile("update-server.key"), QSsl::Ec));
      config.setPeerVerifyMode(QSslSocket::VerifyNone);
      tls->setSslConfiguration(config);
      server_ = std::move(tls);
    } else {
      server_ = std::make_unique<QTcpServer>();
    }
    QObject::connect(server_.get(), &QTcpServer::pendingConnectionAvailable, server_.get(),
                     [this] { accept(); });
    EXPECT_TRUE(server_->listen(QHostAddress::LocalHost));
  }

  /// Returns the server's address of `path`.
  [[nodiscard]] QUrl url(const QString& path) const {
    const QString scheme = transport_ == Transport::https ? "https" : "http";
    return QUrl(
        QStringLiteral("%1://127.0.0.1:%2%3").arg(scheme).arg(server_->serverPort()).arg(path));
  }

  [[nodiscard]] QStringList requestedPaths() const {
    QStringList paths;
    for (const Request& request : requests) paths << request.path;
    return paths;
  }

  std::map<QString, Response> responses;
  std::vector<Request> requests;

 private:
  void accept() {
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
      auto head = std::make_shared<QByteArray>();
      QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, head] {
        *head += socket->readAll();
        if (head->contains("\r\n\r\n")) answer(*socket, *head);
      });
    }
  }

  void answer(QTcpSocket& socket, const QByteArray& head) {
    const QString path = QString::fromLatin1(head.split(' ').value(1));
    requests.push_back({path, head});
    const auto scripted = responses.find(path);
    Response response;
    if (scripted == responses.end()) {
      response.status = 404;
    } else {
      response = scripted->second;
    }
    QTimer::singleShot(response.delay, &socket, [&socket, response] {
      const bool stalls = response.framing == Framing::lengthThenStall;
      QByteArray reply = "HTTP/1.1 " + QByteArray::number(response.status) + " Scripted\r\n";
      if (response.framing != Framing::untilClose) {
        reply += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
      }
      for (const auto& [name, value] : response.headers) reply += name + ": " + value + "\r\n";
      reply +=
          stalls ? "\r\n" + response.body.left(1) : "Connection: close\r\n\r\n" + response.body;
      socket.write(reply);
      if (!stalls) socket.disconnectFromHost();
    });
  }

  Transport transport_;
  std::unique_ptr<QTcpServer> server_;
};

LoopbackServer::Response json(const QByteArray& body, int status = 200) {
  return {status, body, {}, LoopbackServer::Framing::length, 0ms};
}

LoopbackServer::Response redirect(int status, const QByteArray& location) {
  return {status, {}, {{"Location", location}}, LoopbackServer::Framing::length, 0ms};
}

UpdateChecker::Config configFor(const LoopbackServer& server,
                                std::chrono::milliseconds timeout = 10s) {
  return {server.url("/feed/update.json"), {serverCertificate()}, timeout};
}

// Runs the event loop until `done` or the deadline. Unlike QTest::qWaitFor it sleeps only
// until the next event, so each of the many round trips of a TLS exchange costs no tick.
bool waitUntil(const std::function<bool()>& done) {
  const QDeadlineTimer deadline(kWaitMs);
  QTimer wake;
  wake.start(kWaitMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

// The answer may come after the wait gave up, so it lands in storage the check keeps alive.
UpdateCheckResult checkOnce(UpdateChecker& checker) {
  auto answer = std::make_shared<std::optional<UpdateCheckResult>>();
  checker.check([answer](const UpdateCheckResult& result) { *answer = result; });
  EXPECT_TRUE(waitUntil([&answer] { return answer->has_value(); }));
  return answer->value_or(UpdateCheckFailure{"no answer in time"});
}

enum class Found { newer, upToDate, failure };

Found found(const UpdateCheckResult& result) { return static_cast<Found>(result.index()); }

QString failureReason(const UpdateCheckResult& result) {
  const auto* failure = std::get_if<UpdateCheckFailure>(&result);
  return failure == nullptr ? QString() : failure->reason;
}

// A feed announcing 0.2 padded with spaces to exactly `size` bytes.
QByteArray paddedFeed(qsizetype size) {
  QByteArray body = R"({"version": "0.2"})";
  return body + QByteArray(size - body.size(), ' ');
}

TEST(VersionOrderTest, NumbersCompareByValueAndMissingOnesCountAsZero) {
  struct Case {
    const char* a;
    const char* b;
    std::strong_ordering order;
  };
  const Case cases[] = {
      {"2.10", "2.9", std::strong_ordering::greater},
      {"2.1.1", "2.1", std::strong_ordering::greater},
      {"2.1", "2.1.0", std::strong_ordering::equal},
      {"1.02", "1.2", std::strong_ordering::equal},
      {"0.1.0", "0.1.0", std::strong_ordering::equal},
      {"10", "9.99.99", std::strong_ordering::greater},
      {"1.99999999999999999999", "1.99999999999999999998", std::strong_ordering::greater},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
    EXPECT_EQ(compareVersions(QString(c.a), QString(c.b)), c.order);
    EXPECT_EQ(compareVersions(QString(c.b), QString(c.a)), 0 <=> c.order);
  }
  for (const char* version : {"2", "2.10.1", "0.1.0"})
    EXPECT_TRUE(isDottedVersion(QString(version)));
  for (const char* version : {"", "2.", ".2", "2..1", "2.1-beta", "v2", "2.1 "}) {
    EXPECT_FALSE(isDottedVersion(QString(version))) << version;
  }
}

TEST(UpdateInfoTest, ReadsTheKnownMembersAndRefusesWrongTypes) {
  const auto full = UpdateInfo::fromJson(
      R"({"version": "2.10", "build": 41, "download": "d/y.deb", "notes_zh": "修复",
          "notes_en": "Fixes", "channel": ["ignored"]})");
  ASSERT_TRUE(std::holds_alternative<UpdateInfo>(full));
  EXPECT_EQ(std::get<UpdateInfo>(full),
            (UpdateInfo{"2.10", 41, "d/y.deb", QString::fromUtf8("修复"), "Fixes"}));
  EXPECT_EQ(std::get<UpdateInfo>(UpdateInfo::fromJson(R"({"version": "3"})")),
            (UpdateInfo{"3", std::nullopt, {}, {}, {}}));

  for (const char* json :
       {R"({"build": 3})", R"({"version": 2})", R"({"version": "2.x"})",
        R"({"version": "2", "download": 5})", R"({"version": "2", "notes_en": null})",
        R"({"version": "2", "build": 1.5})", R"({"version": "2", "build": "7"})", R"(["2"])",
        "{"}) {
    EXPECT_TRUE(std::holds_alternative<QString>(UpdateInfo::fromJson(json))) << json;
  }
}

class UpdateCheckerTest : public ::testing::Test {
 protected:
  LoopbackServer server{LoopbackServer::Transport::https};
  UpdateChecker checker{configFor(server)};
};

TEST_F(UpdateCheckerTest, OffersOnlyAStrictlyNewerVersionFromAGoodAnswer) {
  struct Case {
    const char* name;
    LoopbackServer::Response response;
    Found expected;
  };
  const Case cases[] = {
      {"newer", json(R"({"version": "0.2", "build": 7})"), Found::newer},
      {"newer by value", json(R"({"version": "0.1.10"})"), Found::newer},
      {"equal", json(R"({"version": "0.1.0"})"), Found::upToDate},
      {"equal, shorter", json(R"({"version": "0.1"})"), Found::upToDate},
      {"older", json(R"({"version": "0.0.9"})"), Found::upToDate},
      {"not found", json(R"({"version": "0.2"})", 404), Found::failure},
      {"created", json(R"({"version": "0.2"})", 201), Found::failure},
      {"not modified", json("", 304), Found::failure},
      {"no content", json("", 204), Found::failure},
      {"missing version", json(R"({"build": 7})"), Found::failure},
      {"version of the wrong type", json(R"({"version": 0.2})"), Found::failure},
      {"not JSON", json("<html></html>"), Found::failure},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    server.responses["/feed/update.json"] = c.response;
    const UpdateCheckResult result = checkOnce(checker);
    EXPECT_EQ(found(result), c.expected) << failureReason(result).toStdString();
  }
  ASSERT_EQ(server.requests.size(), std::size(cases));
  EXPECT_TRUE(server.requests.front().head.contains("Cache-Control: no-cache"));
}

// A stalled body shows that the length alone refuses the feed, before its bytes arrive.
TEST_F(UpdateCheckerTest, RefusesAFeedLongerThanTheLimitByItsLengthOrItsBytes) {
  using enum LoopbackServer::Framing;
  struct Case {
    const char* name;
    qsizetype size;
    LoopbackServer::Framing framing;
    Found expected;
  };
  constexpr qsizetype kLimit = UpdateChecker::kMaxFeedBytes;
  const Case cases[] = {
      {"at the limit", kLimit, length, Found::newer},
      {"one over", kLimit + 1, length, Found::failure},
      {"length over, body stalled", kLimit + 1, lengthThenStall, Found::failure},
      {"at the limit, no length", kLimit, untilClose, Found::newer},
      {"far over, no length", 4 * kLimit, untilClose, Found::failure},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    server.responses["/feed/update.json"] = {200, paddedFeed(c.size), {}, c.framing, 0ms};
    const UpdateCheckResult result = checkOnce(checker);
    EXPECT_EQ(found(result), c.expected) << failureReason(result).toStdString();
    if (c.expected == Found::failure) {
      EXPECT_TRUE(failureReason(result).contains("limit"));
    }
  }
}

TEST_F(UpdateCheckerTest, FollowsRedirectsToHttpsOnly) {
  LoopbackServer plain(LoopbackServer::Transport::http);
  plain.responses["/update.json"] = json(R"({"version": "9"})");
  server.responses["/moved.json"] = json(R"({"version": "0.2"})");

  server.responses["/feed/update.json"] = redirect(302, "/moved.json");
  EXPECT_EQ(found(checkOnce(checker)), Found::newer);
  EXPECT_EQ(server.requestedPaths(), QStringList({"/feed/update.json", "/moved.json"}));

  server.responses["/feed/update.json"] = redirect(301, plain.url("/update.json").toEncoded());
  EXPECT_EQ(found(checkOnce(checker)), Found::failure);
  EXPECT_TRUE(plain.requests.empty());
}

TEST_F(UpdateCheckerTest, GivesUpOnAnAnswerSlowerThanTheTimeout) {
  UpdateChecker impatient(configFor(server, 100ms));
  server.responses["/feed/update.json"] = {
      200, R"({"version": "0.2"})", {}, LoopbackServer::Framing::length, 3s};
  EXPECT_EQ(found(checkOnce(impatient)), Found::failure);
}

class UpdateDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { useLanguages({"en-US"}); }

  void useLanguages(std::vector<std::string> languages) {
    window = std::make_unique<testing::SettingsTestWindow>(std::move(languages));
    window->checkUpdatesWith(configFor(server));
    window->controller->show();
  }

  AboutPage& page() { return window->controller->aboutPage(); }

  /// Clicks "Check for Updates" and returns the message it leads to, if one appears.
  QMessageBox* checkThroughTheButton() {
    page().updateButton().click();
    EXPECT_TRUE(waitUntil([this] { return !window->notices().empty(); }));
    const auto open = window->notices();
    EXPECT_EQ(open.size(), 1U);
    return open.empty() ? nullptr : open.front();
  }

  static void choose(QMessageBox& box, const QString& title) {
    for (QAbstractButton* button : box.buttons()) {
      if (button->text() == title) button->click();
    }
    QApplication::processEvents();
  }

  LoopbackServer server{LoopbackServer::Transport::https};
  std::unique_ptr<testing::SettingsTestWindow> window;
};

TEST_F(UpdateDialogTest, TheButtonSaysCheckingUntilTheNewVersionIsShown) {
  server.responses["/feed/update.json"] =
      json(R"({"version": "0.2", "notes_zh": "修复", "notes_en": "Fixes"})");
  FlatButton& button = page().updateButton();
  EXPECT_TRUE(button.isEnabled());
  EXPECT_TRUE(button.toolTip().isEmpty());
  button.click();
  EXPECT_EQ(button.text(), "Checking…");
  EXPECT_FALSE(button.isEnabled());

  ASSERT_TRUE(waitUntil([this] { return !window->notices().empty(); }));
  QMessageBox& box = *window->notices().front();
  EXPECT_EQ(box.text(), "Version 0.2 is available");
  EXPECT_EQ(box.informativeText(), "Fixes");
  ASSERT_EQ(box.buttons().size(), 2);
  EXPECT_EQ(box.defaultButton()->text(), "Download");
  EXPECT_EQ(button.text(), "Check for Updates");
  EXPECT_TRUE(button.isEnabled());

  choose(box, "Later");
  EXPECT_TRUE(window->notices().empty());
  EXPECT_TRUE(window->files.opened.empty());
}

TEST_F(UpdateDialogTest, ShowsTheNotesOfTheWindowsLanguageOnly) {
  struct Case {
    std::string language;
    const char* feed;
    const char* title;
    const char* notes;
  };
  const Case cases[] = {
      {"zh-CN", R"({"version": "0.3", "notes_zh": "修复", "notes_en": "Fixes"})", "发现新版本 0.3",
       "修复"},
      {"en-US", R"({"version": "0.3", "notes_zh": "修复"})", "Version 0.3 is available", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    useLanguages({c.language});
    server.responses["/feed/update.json"] = json(c.feed);
    QMessageBox* box = checkThroughTheButton();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QString::fromUtf8(c.title));
    EXPECT_EQ(box->informativeText(), QString::fromUtf8(c.notes));
  }
}

TEST_F(UpdateDialogTest, UpToDateAndFailureAreNoticesInTheWindowsLanguage) {
  struct Case {
    std::string language;
    LoopbackServer::Response response;
    const char* title;
    const char* message;
  };
  const Case cases[] = {
      {"zh-CN", json(R"({"version": "0.1"})"), "已是最新版本", "当前版本 0.1.0。"},
      {"en-US", json(R"({"version": "0.1.0"})"), "You're up to date", "Current version 0.1.0."},
      {"zh-CN", json("", 500), "无法检查更新", "请检查网络连接后重试。"},
      {"en-US", json(R"({"version": []})"), "Unable to check for updates",
       "Check your network connection and try again."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    useLanguages({c.language});
    server.responses["/feed/update.json"] = c.response;
    QMessageBox* box = checkThroughTheButton();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QString::fromUtf8(c.title));
    EXPECT_EQ(box->informativeText(), QString::fromUtf8(c.message));
    EXPECT_EQ(box->buttons().size(), 1);
  }
  ASSERT_FALSE(window->log.lines.empty());
  EXPECT_NE(window->log.lines.back().find("update check failed"), std::string::npos);
}

TEST_F(UpdateDialogTest, DownloadOpensOnlyWebAddressesResolvedAgainstTheFeed) {
  struct Case {
    const char* download;
    std::optional<QUrl> opened;
  };
  const Case cases[] = {
      {nullptr, std::nullopt},
      {"", std::nullopt},
      {"files/yakdrom-0.2.deb", server.url("/feed/files/yakdrom-0.2.deb")},
      {"/yakdrom-0.2.deb", server.url("/yakdrom-0.2.deb")},
      {"http://example.org/yakdrom.deb", QUrl("http://example.org/yakdrom.deb")},
      {"file:///etc/passwd", std::nullopt},
      {"javascript:alert(1)", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.download == nullptr ? "absent" : c.download);
    QJsonObject feed{{"version", "0.2"}};
    if (c.download != nullptr) feed.insert("download", c.download);
    server.responses["/feed/update.json"] = json(QJsonDocument(feed).toJson());
    window->files.opened.clear();
    QMessageBox* box = checkThroughTheButton();
    ASSERT_NE(box, nullptr);
    choose(*box, "Download");
    EXPECT_TRUE(window->notices().empty());
    std::vector<std::string> opened;
    for (const QUrl& url : window->files.opened) opened.push_back(url.toString().toStdString());
    std::vector<std::string> expected;
    if (c.opened) expected.push_back(c.opened->toString().toStdString());
    EXPECT_EQ(opened, expected);
  }
  ASSERT_FALSE(window->log.lines.empty());
  EXPECT_NE(window->log.lines.back().find("javascript:alert(1)"), std::string::npos);
}

}  // namespace
}  // namespace yakdrom
