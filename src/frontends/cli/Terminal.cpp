#include "frontends/cli/Terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <string_view>

namespace yakdrom::cli {
namespace {

// The alternate screen keeps the shell's screen as it was; the pad draws its own caret.
constexpr std::string_view kEnterScreen = "\x1b[?1049h\x1b[?25l";
constexpr std::string_view kLeaveScreen = "\x1b[?25h\x1b[?1049l";
constexpr std::string_view kHome = "\x1b[H";
constexpr std::string_view kClearLineEnd = "\x1b[K";
constexpr std::string_view kClearBelow = "\x1b[J";
constexpr std::size_t kReadChunk = 256;
constexpr std::pair<std::size_t, std::size_t> kDefaultSize{80, 24};

// Raw mode turns Ctrl-C into a byte, so these come only from outside (kill, a closed
// window). SIGWINCH is caught only to cut a wait short, so a resize redraws at once.
constexpr std::array<int, 4> kCaughtSignals = {SIGINT, SIGTERM, SIGHUP, SIGWINCH};

volatile std::sig_atomic_t gStopSignal = 0;
std::array<struct sigaction, kCaughtSignals.size()> gPreviousActions{};

extern "C" void onSignal(int signal) {
  if (signal != SIGWINCH) gStopSignal = signal;
}

void catchSignals() {
  gStopSignal = 0;
  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART: a signal ends the wait in poll
  for (std::size_t i = 0; i < kCaughtSignals.size(); ++i) {
    sigaction(kCaughtSignals[i], &action, &gPreviousActions[i]);
  }
}

void releaseSignals() {
  for (std::size_t i = 0; i < kCaughtSignals.size(); ++i) {
    sigaction(kCaughtSignals[i], &gPreviousActions[i], nullptr);
  }
}

termios rawMode(termios mode) {
  mode.c_iflag &= ~static_cast<tcflag_t>(BRKINT | ICRNL | INPCK | ISTRIP | IXON);
  mode.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  mode.c_cflag |= CS8;
  mode.c_lflag &= ~static_cast<tcflag_t>(ECHO | ICANON | IEXTEN | ISIG);
  mode.c_cc[VMIN] = 1;
  mode.c_cc[VTIME] = 0;
  return mode;
}

}  // namespace

Terminal::Opened Terminal::open() {
  const int fd = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return {nullptr, "needs a terminal, and /dev/tty cannot be opened"};
  termios original{};
  if (tcgetattr(fd, &original) != 0) {
    ::close(fd);
    return {nullptr, "needs a terminal, and /dev/tty is none"};
  }
  catchSignals();
  const termios raw = rawMode(original);
  if (tcsetattr(fd, TCSAFLUSH, &raw) != 0) {
    releaseSignals();
    ::close(fd);
    return {nullptr, "cannot switch the terminal to raw mode"};
  }
  std::unique_ptr<Terminal> terminal(new Terminal(fd, original));
  terminal->write(kEnterScreen);
  return {std::move(terminal), {}};
}

Terminal::Terminal(int fd, const termios& original) : fd_(fd), original_(original) {}

Terminal::~Terminal() { restore(); }

void Terminal::restore() {
  if (restored_) return;
  restored_ = true;
  write(kLeaveScreen);
  tcsetattr(fd_, TCSAFLUSH, &original_);
  releaseSignals();
  ::close(fd_);
}

std::string Terminal::read(std::chrono::milliseconds timeout) {
  pollfd wanted{fd_, POLLIN, 0};
  if (::poll(&wanted, 1, static_cast<int>(timeout.count())) <= 0) return {};
  char buffer[kReadChunk];
  const ssize_t n = ::read(fd_, buffer, sizeof buffer);
  if (n > 0) return std::string(buffer, static_cast<std::size_t>(n));
  // The terminal went away (its window closed): as good as a hang-up.
  if (n == 0 || (errno != EINTR && errno != EAGAIN)) gStopSignal = SIGHUP;
  return {};
}

int Terminal::stopSignal() const { return gStopSignal; }

std::pair<std::size_t, std::size_t> Terminal::size() const {
  winsize window{};
  if (ioctl(fd_, TIOCGWINSZ, &window) != 0 || window.ws_col == 0 || window.ws_row == 0) {
    return kDefaultSize;
  }
  return {window.ws_col, window.ws_row};
}

void Terminal::draw(const std::vector<std::string>& lines) {
  const auto now = size();
  if (lines == lastFrame_ && now == lastSize_) return;
  std::string frame(kHome);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    frame += lines[i];
    frame += kClearLineEnd;
    if (i + 1 < lines.size()) frame += "\r\n";
  }
  frame += kClearBelow;
  write(frame);
  lastFrame_ = lines;
  lastSize_ = now;
}

void Terminal::write(std::string_view bytes) const {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

}  // namespace yakdrom::cli
