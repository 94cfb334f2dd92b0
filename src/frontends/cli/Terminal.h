// The terminal the typing pad runs in (/dev/tty, so standard output stays free for the
// text): raw mode and the alternate screen while the pad is up, restored on every way out,
// including SIGINT, SIGTERM and SIGHUP, which end the pad's loop instead of the program;
// key bytes read with a timeout; whole frames drawn at once. Main thread.
#pragma once

#include <termios.h>

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace yakdrom::cli {

class Terminal {
 public:
  struct Opened {
    std::unique_ptr<Terminal> terminal;
    std::string error;  // when there is no terminal
  };

  /// Opens the controlling terminal and switches it to raw mode and the alternate screen;
  /// fails when the program has no terminal.
  [[nodiscard]] static Opened open();

  /// Restores the terminal as it was, if restore() has not done so yet.
  ~Terminal();
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

  /// Waits up to `timeout` for key bytes and returns them; returns "" when none came or a
  /// signal (a stop or a resize) cut the wait short.
  [[nodiscard]] std::string read(std::chrono::milliseconds timeout);

  /// Returns the signal that asked the program to stop since open(), or 0.
  [[nodiscard]] int stopSignal() const;

  /// Returns the window's columns and rows, 80 x 24 when the terminal cannot tell.
  [[nodiscard]] std::pair<std::size_t, std::size_t> size() const;

  /// Draws `lines` from the top left corner, clearing what they do not cover; does
  /// nothing when the frame is unchanged.
  void draw(const std::vector<std::string>& lines);

  /// Leaves the alternate screen and raw mode and puts the signal handlers back.
  void restore();

 private:
  Terminal(int fd, const termios& original);
  void write(std::string_view bytes) const;

  int fd_;
  termios original_;
  bool restored_ = false;
  std::vector<std::string> lastFrame_;
  std::pair<std::size_t, std::size_t> lastSize_;
};

}  // namespace yakdrom::cli
