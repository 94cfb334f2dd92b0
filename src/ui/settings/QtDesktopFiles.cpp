#include "ui/settings/QtDesktopFiles.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>
#include <QUrl>

namespace yakdrom {
namespace {

const QString kTextFiles = QStringLiteral("Text (*.txt *.text);;* (*)");

QString qtPath(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

std::optional<std::filesystem::path> chosen(const QString& file) {
  if (file.isEmpty()) return std::nullopt;
  return std::filesystem::path(file.toStdString());
}

void openFolder(const std::filesystem::path& file) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(qtPath(file.parent_path())));
}

}  // namespace

std::optional<std::filesystem::path> QtDesktopFiles::chooseWordList(QWidget& parent,
                                                                    const QString& message) {
  return chosen(QFileDialog::getOpenFileName(&parent, message, QDir::homePath(), kTextFiles));
}

std::optional<std::filesystem::path> QtDesktopFiles::chooseExportFile(QWidget& parent,
                                                                      const QString& message,
                                                                      const QString& name) {
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  const QString start = documents.isEmpty() ? name : QDir(documents).filePath(name);
  return chosen(QFileDialog::getSaveFileName(&parent, message, start, kTextFiles));
}

// File managers that implement FileManager1 (Nautilus, Dolphin, Nemo, Thunar, ...) are
// started by the bus on demand; without one the call fails and the folder opens instead.
void QtDesktopFiles::reveal(const std::filesystem::path& file) {
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.FileManager1"),
      QStringLiteral("/org/freedesktop/FileManager1"),
      QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
  call << QStringList{QUrl::fromLocalFile(qtPath(file)).toString()} << QString();
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    openFolder(file);
    return;
  }
  auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, [file](QDBusPendingCallWatcher* w) {
    if (w->isError()) openFolder(file);
    w->deleteLater();
  });
}

void QtDesktopFiles::openUrl(const QUrl& url) { QDesktopServices::openUrl(url); }

}  // namespace yakdrom
