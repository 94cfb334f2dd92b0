#include "ui/Uninstaller.h"

#include <sys/stat.h>

#include <QProcess>
#include <QStringList>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <utility>

#include "engine/store/UserFolders.h"
#include "ime/platform/InstallLayout.h"
#include "ime/platform/PidFile.h"

namespace yakdrom {

namespace fs = std::filesystem;

struct Uninstaller::Copy {
  InstallLayout layout;
  bool before = false;
  RemovalResult plain;
};

namespace {

// pkexec's statuses for a dismissed prompt and for a password not given: the user said no,
// which is no failure.
constexpr int kPromptExitCodes[] = {126, 127};
constexpr const char* kPackageName = "yakdrom";
constexpr const char* kPackageBundle = "/usr/lib/yakdrom";
constexpr std::string_view kPackageInstalled = "install ok installed";

struct ProgramRun {
  bool started = false;
  int exitCode = -1;
  QString error;
  QByteArray output;
};

// Each argument reaches the program as it is, whatever characters a path holds: no shell
// reads it.
ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments) {
  QStringList list;
  for (const std::string& argument : arguments) list << QString::fromStdString(argument);
  QProcess process;
  process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process.start(QString::fromStdString(program), list);
  if (!process.waitForStarted(-1)) return {false, -1, process.errorString(), {}};
  process.waitForFinished(-1);
  const bool exited = process.exitStatus() == QProcess::NormalExit;
  return {true, exited ? process.exitCode() : -1, {}, process.readAllStandardOutput()};
}

// An entry is there when anything stands at its path, a dangling link included.
bool present(std::string_view entry) {
  while (entry.size() > 1 && entry.back() == '/') entry.remove_suffix(1);
  struct stat status {};
  return ::lstat(std::string(entry).c_str(), &status) == 0;
}

bool present(const fs::path& path) { return present(std::string_view(path.native())); }

bool present(const std::string& entry) { return present(std::string_view(entry)); }

std::string text(const QString& string) { return string.toStdString(); }

}  // namespace

UninstallPlaces UninstallPlaces::forThisUser() {
  UninstallPlaces places;
  const char* home = std::getenv("HOME");
  places.home = home == nullptr ? "" : home;
  places.cacheHome = UserFolders::cacheHome();
  places.privilegedProgram = systemProgram(places.systemRoot);
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  places.runtimeFolder = runtime == nullptr ? "" : runtime;
  return places;
}

fs::path UninstallPlaces::systemProgram(const fs::path& root) {
  return InstallLayout::systemWide(root).bundle / "bin/yakdrom";
}

// A copy that stayed (a cancelled password prompt, a file that would not go) is named
// rather than passed over: "not found" would report a failure as nothing to do.
UninstallMessage UninstallReport::message() const {
  QStringList left;
  for (const RemovalFailure& failure : failed) left << QString::fromStdString(failure.path);
  const QString stillThere =
      left.empty() ? QString() : QStringLiteral("未能删除：\n") + left.join(QLatin1Char('\n'));
  if (removed.empty()) {
    if (cancelled) {
      return {QStringLiteral("卸载未完成"),
              QStringLiteral("已取消管理员授权，未删除任何内容。") +
                  (left.empty() ? QString() : QStringLiteral("\n\n") + stillThere),
              QStringLiteral("好")};
    }
    if (!left.empty()) return {QStringLiteral("卸载未完成"), stillThere, QStringLiteral("好")};
    return {QStringLiteral("未找到已安装的 Yakdrom"),
            QStringLiteral("输入法可能已卸载，或安装在其它位置。"), QStringLiteral("好")};
  }
  QStringList paths;
  for (const fs::path& path : removed) paths << QString::fromStdString(path.string());
  QString text =
      QStringLiteral("已删除：\n") + paths.join(QLatin1Char('\n')) +
      QStringLiteral("\n\n已清除安装记录。请注销并重新登录，输入法列表中的条目才会彻底消失。");
  if (!left.empty()) text += QStringLiteral("\n\n") + stillThere;
  return {QStringLiteral("已卸载"), text, QStringLiteral("好")};
}

Uninstaller::Uninstaller(UninstallPlaces places, Log& log)
    : places_(std::move(places)), log_(log) {}

UninstallReport Uninstaller::run() {
  UninstallReport report;
  Copy copies[] = {{InstallLayout::perUser(places_.home), false, {}},
                   {InstallLayout::systemWide(places_.systemRoot), false, {}}};
  Copy& user = copies[0];
  Copy& system = copies[1];
  for (Copy& copy : copies) copy.before = present(copy.layout.manifest());
  const bool packageBefore = packageInstalled();

  if (user.before) {
    removeInProcess(user, report);
    refreshIBus(false);
  }
  if (system.before) removeInProcess(system, report);
  const bool systemLeft = system.before && present(system.layout.manifest());
  if (system.before && !systemLeft) refreshIBus(true);
  if (systemLeft || packageBefore) runPrivileged(systemLeft, packageBefore, report);

  for (const Copy& copy : copies) {
    if (copy.before && !present(copy.layout.manifest()))
      report.removed.push_back(copy.layout.bundle);
    for (const RemovalFailure& failure : copy.plain.failed) {
      if (!present(failure.path)) continue;
      log_.write("删除失败 " + failure.path + ": " + failure.reason);
      report.failed.push_back(failure);
    }
  }
  if (packageBefore && !packageInstalled()) report.removed.emplace_back(kPackageBundle);
  return report;
}

bool Uninstaller::stopEngine() const {
  if (places_.runtimeFolder.empty()) return false;
  return PidFile::signalRunning(PidFile::enginePath(places_.runtimeFolder), SIGTERM);
}

void Uninstaller::removeInProcess(Copy& copy, UninstallReport& report) {
  const auto manifest = InstallManifest::read(copy.layout.manifest());
  if (!manifest) {
    copy.plain.failed.push_back({copy.layout.manifest().string(), manifest.error().code.message()});
    return;
  }
  copy.plain = manifest.value().removeListed(copy.layout.roots);
  report.removedPaths.insert(report.removedPaths.end(), copy.plain.removed.begin(),
                             copy.plain.removed.end());
}

// One pkexec, so one password: the system copy's own program removes the package too when
// both are there.
void Uninstaller::runPrivileged(bool systemCopy, bool package, UninstallReport& report) {
  std::vector<std::string> arguments;
  if (systemCopy && present(places_.privilegedProgram)) {
    arguments = {places_.privilegedProgram.string(), "uninstall", "--system"};
    if (places_.systemRoot != "/")
      arguments.insert(arguments.end(), {"--root", places_.systemRoot.string()});
    if (package) arguments.emplace_back("--package");
  } else if (package) {
    arguments = {places_.dpkg, "--remove"};
    arguments.insert(arguments.end(), kDebianPackages.begin(), kDebianPackages.end());
  } else {
    return;
  }
  const ProgramRun run = runProgram(places_.pkexec, arguments);
  if (!run.started) {
    log_.write("pkexec 启动失败: " + text(run.error));
  } else if (std::find(std::begin(kPromptExitCodes), std::end(kPromptExitCodes), run.exitCode) !=
             std::end(kPromptExitCodes)) {
    report.cancelled = true;
  } else if (run.exitCode != 0) {
    log_.write("特权卸载未完成，退出状态 " + std::to_string(run.exitCode));
  }
}

void Uninstaller::refreshIBus(bool system) const {
  std::error_code ignored;
  if (!system && !fs::exists(InstallLayout::ibusUserRegistry(places_.cacheHome), ignored)) return;
  std::vector<std::string> arguments{"write-cache"};
  if (system) arguments.emplace_back("--system");
  const ProgramRun run = runProgram(places_.ibus, arguments);
  if (!run.started) log_.write("ibus 启动失败: " + text(run.error));
}

bool Uninstaller::packageInstalled() const {
  const ProgramRun run = runProgram(places_.dpkgQuery, {"-W", "-f", "${Status}", kPackageName});
  return run.started && run.exitCode == 0 &&
         run.output.trimmed().toStdString() == kPackageInstalled;
}

}  // namespace yakdrom
