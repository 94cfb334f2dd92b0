// Runs work in several child processes released at the same instant, as several programs
// of one user sharing the settings file do.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <vector>

namespace yakdrom::testing {

/// Runs `work(k)` for k in [0, count) in as many child processes started together, and
/// returns true when each returned within a minute; a child that hangs is ended by SIGALRM.
inline bool runInProcesses(int count, const std::function<void(int)>& work) {
  constexpr unsigned kSecondsAllowed = 60;
  int gate[2];
  if (::pipe(gate) != 0) return false;
  std::vector<pid_t> children;
  children.reserve(count);
  for (int k = 0; k < count; ++k) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::alarm(kSecondsAllowed);
      ::close(gate[1]);
      char ignored = 0;
      (void)::read(gate[0], &ignored, 1);  // returns once the parent closes its end
      work(k);
      std::_Exit(0);
    }
    if (pid > 0) children.push_back(pid);
  }
  ::close(gate[0]);
  ::close(gate[1]);
  bool allDone = static_cast<int>(children.size()) == count;
  for (const pid_t pid : children) {
    int status = 0;
    allDone = ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
              allDone;
  }
  return allDone;
}

}  // namespace yakdrom::testing
