// The terminal the typing pad runs in (/dev/tty, so standard output stays free for the
// text): raw mode and the alternate screen while the pad is up, restored on every way out,
// including SIGINT, SIGTERM and SIGHUP, which end the pad's loop instead of the program, and
// while the pad is suspended (Ctrl-Z or SIGTSTP) until SIGCONT; key bytes read with a
// timeout; whole frames drawn at once. Signals stay caught until the object goes, so that a
// second hang-up cannot cut short the saving that follows the first. Main thread.
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

  /// Restores the terminal as it was, if restore() has not done so yet, and puts the
  /// signal handlers back.
  ~Terminal();
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

  /// Waits up to `timeout` for key bytes and returns them; returns "" when none came or a
  /// signal (a stop, a resize, a suspension and its end) cut the wait short. SIGTSTP
  /// suspends here; after SIGCONT the next draw() repaints the whole frame.
  [[nodiscard]] std::string read(std::chrono::milliseconds timeout);

  /// Returns the signal that asked the program to stop since open(), or 0.
  [[nodiscard]] int stopSignal() const;

  /// Returns the window's columns and rows, 80 x 24 when the terminal cannot tell.
  [[nodiscard]] std::pair<std::size_t, std::size_t> size() const;

  /// Draws `lines` from the top left corner, clearing what they do not cover; does
  /// nothing when the frame is unchanged.
  void draw(const std::vector<std::string>& lines);

  /// Gives the terminal back as it was and stops the program, as Ctrl-Z in a shell does;
  /// returns once it is continued, with raw mode and the alternate screen back.
  void suspend();

  /// Leaves the alternate screen and raw mode; signals are only recorded from now on.
  void restore();

 private:
  Terminal(int fd, const termios& original, std::pair<int, int> wakePipe);
  void enterPad();
  void leavePad() const;
  void write(std::string_view bytes) const;

  int fd_;
  termios original_;
  // The signal handlers write a byte to the pipe's second end, so that a signal arriving
  // just before the wait still ends it.
  std::pair<int, int> wakePipe_;
  bool restored_ = false;
  std::vector<std::string> lastFrame_;
  std::pair<std::size_t, std::size_t> lastSize_;
};

}  // namespace yakdrom::cli
