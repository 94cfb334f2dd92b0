#include "frontends/cli/Terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <atomic>
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

// Raw mode turns Ctrl-C and Ctrl-Z into bytes, so these come only from outside (kill, a
// closed window). SIGWINCH is caught only to cut a wait short, so a resize redraws at once.
constexpr std::array<int, 6> kCaughtSignals = {SIGINT, SIGTERM, SIGHUP, SIGWINCH, SIGTSTP, SIGCONT};

// Lock-free atomics are safe in a signal handler, and exchange() takes a flag without
// losing a signal that comes while it is read.
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);
std::atomic<int> gStopSignal = 0;
std::atomic<bool> gSuspendAsked = false;
std::atomic<bool> gContinued = false;
std::atomic<int> gWakeFd = -1;
std::array<struct sigaction, kCaughtSignals.size()> gPreviousActions{};

extern "C" void onSignal(int signal) {
  const int savedErrno = errno;
  switch (signal) {
    case SIGWINCH:
      break;
    case SIGTSTP:
      gSuspendAsked = true;
      break;
    case SIGCONT:
      gContinued = true;
      break;
    default:
      gStopSignal = signal;
  }
  const char wake = 0;
  (void)!::write(gWakeFd.load(), &wake, 1);
  errno = savedErrno;
}

void catchSignals(int wakeFd) {
  gStopSignal = 0;
  gSuspendAsked = false;
  gContinued = false;
  gWakeFd = wakeFd;
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

void drain(int fd) {
  char buffer[kReadChunk];
  while (::read(fd, buffer, sizeof buffer) > 0) {
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

// A pad continued in the background stops on SIGTTOU here until it is in the foreground,
// and the SIGCONT then interrupts the call.
bool setMode(int fd, const termios& mode) {
  int result;
  do {
    result = tcsetattr(fd, TCSAFLUSH, &mode);
  } while (result != 0 && errno == EINTR);
  return result == 0;
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
  std::array<int, 2> wake{};
  if (pipe2(wake.data(), O_NONBLOCK | O_CLOEXEC) != 0) {
    ::close(fd);
    return {nullptr, "cannot make a pipe to wake the pad on signals"};
  }
  catchSignals(wake[1]);
  if (!setMode(fd, rawMode(original))) {
    releaseSignals();
    for (const int end : {fd, wake[0], wake[1]}) ::close(end);
    return {nullptr, "cannot switch the terminal to raw mode"};
  }
  std::unique_ptr<Terminal> terminal(new Terminal(fd, original, {wake[0], wake[1]}));
  terminal->write(kEnterScreen);
  return {std::move(terminal), {}};
}

Terminal::Terminal(int fd, const termios& original, std::pair<int, int> wakePipe)
    : fd_(fd), original_(original), wakePipe_(wakePipe) {}

Terminal::~Terminal() {
  restore();
  releaseSignals();
  // Only now: a handler could otherwise write into a file that took the number over.
  ::close(wakePipe_.first);
  ::close(wakePipe_.second);
}

void Terminal::restore() {
  if (restored_) return;
  restored_ = true;
  leavePad();
  ::close(fd_);
}

void Terminal::suspend() {
  leavePad();
  struct sigaction stop {};
  stop.sa_handler = SIG_DFL;
  sigemptyset(&stop.sa_mask);
  struct sigaction caught {};
  sigaction(SIGTSTP, &stop, &caught);
  // The whole process group, as the terminal's own Ctrl-Z would, so a pipeline stops too.
  ::kill(0, SIGTSTP);
  sigaction(SIGTSTP, &caught, nullptr);
  drain(wakePipe_.first);
  gSuspendAsked = false;
  gContinued = false;
  enterPad();
}

void Terminal::enterPad() {
  (void)setMode(fd_, rawMode(original_));
  write(kEnterScreen);
  lastFrame_.clear();
}

void Terminal::leavePad() const {
  write(kLeaveScreen);
  (void)setMode(fd_, original_);
}

std::string Terminal::read(std::chrono::milliseconds timeout) {
  std::array<pollfd, 2> wanted{{{fd_, POLLIN, 0}, {wakePipe_.first, POLLIN, 0}}};
  const int ready = ::poll(wanted.data(), wanted.size(), static_cast<int>(timeout.count()));
  drain(wakePipe_.first);
  // A stop outweighs the rest: the pad is about to end.
  if (gStopSignal != 0) return {};
  if (gSuspendAsked.exchange(false)) {
    suspend();
    return {};
  }
  if (gContinued.exchange(false)) {
    // Stopped by someone else (SIGSTOP): the shell may have changed the terminal meanwhile.
    enterPad();
    return {};
  }
  if (ready <= 0 || (wanted[0].revents & (POLLIN | POLLHUP | POLLERR)) == 0) return {};
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
