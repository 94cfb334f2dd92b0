#include "ime/platform/PidFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

namespace yakdrom {
namespace {

namespace fs = std::filesystem;

// What the kernel appends to /proc/PID/exe once the program's file is gone, as it is for an
// engine that keeps running after an uninstall.
constexpr std::string_view kDeletedSuffix = " (deleted)";

std::string contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::optional<pid_t> parsePid(std::string_view text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.remove_suffix(1);
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), pid);
  // 0 and -1 would signal whole process groups; 1 is init.
  if (error != std::errc() || end != text.data() + text.size() || pid <= 1) return std::nullopt;
  return pid;
}

bool isAlive(pid_t pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

bool runsEngine(pid_t pid) {
  std::error_code error;
  std::string target = fs::read_symlink("/proc/" + std::to_string(pid) + "/exe", error).string();
  if (error) return false;
  if (target.ends_with(kDeletedSuffix)) target.resize(target.size() - kDeletedSuffix.size());
  return fs::path(target).filename() == PidFile::kEngineProgram;
}

}  // namespace

fs::path PidFile::enginePath(const fs::path& runtimeFolder) {
  return runtimeFolder / "yakdrom" / (std::string(kEngineProgram) + ".pid");
}

std::optional<fs::path> PidFile::engineFromEnvironment() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime == nullptr || *runtime == '\0') return std::nullopt;
  return enginePath(runtime);
}

PidFile::PidFile(fs::path path) : path_(std::move(path)) {
  const fs::path folder = path_.parent_path();
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return;
  const std::string line = std::to_string(::getpid()) + "\n";
  const fs::path partial = path_.string() + ".new";
  std::ofstream out(partial, std::ios::binary | std::ios::trunc);
  out << line;
  out.close();
  // The rename lets a reader see either no file or the whole number.
  written_ = out.good() && ::rename(partial.c_str(), path_.c_str()) == 0;
}

PidFile::~PidFile() {
  if (written_ && read(path_) == ::getpid()) ::unlink(path_.c_str());
}

std::optional<pid_t> PidFile::read(const fs::path& path) { return parsePid(contents(path)); }

bool PidFile::signalRunning(const fs::path& path, int signal) {
  const auto pid = read(path);
  if (!pid || !isAlive(*pid) || !runsEngine(*pid)) return false;
  return ::kill(*pid, signal) == 0;
}

}  // namespace yakdrom
