// What the key round-trip benchmarks share: the paragraph read and counted in syllables, the
// keys `yakdrom keys` finds for it turned into one desktop framework's key events, the
// percentiles, and a process's resident memory.
#pragma once

#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/composition/KeyCode.h"
#include "frontends/cli/KeyNotation.h"

extern char** environ;

namespace yakdrom::bench {

/// The modifier bits of one framework's key state for the modifiers yakdrom's notation writes.
struct ModifierMasks {
  std::uint32_t shift = 0;
  std::uint32_t altGr = 0;
  std::uint32_t control = 0;
  std::uint32_t super = 0;
  std::uint32_t capsLock = 0;
};

/// Returns the whole file at `path`, or "" when it cannot be read.
inline std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

/// Returns `text` without its trailing newlines and spaces.
inline std::string trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

/// Returns the syllables in `text`: the runs a tsheg, a shad or a space ends.
inline std::size_t syllableCount(const std::string& text) {
  static const std::regex kSyllableEnd("(་|།|\\s)+");
  std::size_t count = 0;
  for (std::sregex_token_iterator it(text.begin(), text.end(), kSyllableEnd, -1), end; it != end;
       ++it) {
    if (it->length() > 0) ++count;
  }
  return count;
}

/// Returns `text` `times` times over.
inline std::string repeated(const std::string& text, std::size_t times) {
  std::string out;
  for (std::size_t i = 0; i < times; ++i) out += text;
  return out;
}

/// Returns `keys` `times` times over.
template <class Stroke>
std::vector<Stroke> repeated(const std::vector<Stroke>& keys, std::size_t times) {
  std::vector<Stroke> out;
  for (std::size_t i = 0; i < times; ++i) out.insert(out.end(), keys.begin(), keys.end());
  return out;
}

/// Returns the value below which `fraction` of `values` lie (0 for none).
inline double percentile(std::vector<double> values, double fraction) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<std::size_t>(fraction * static_cast<double>(values.size()));
  return values[std::min(rank, values.size() - 1)];
}

/// Returns the mean of `values` (0 for none).
inline double mean(const std::vector<double>& values) {
  double sum = 0;
  for (double v : values) sum += v;
  return values.empty() ? 0 : sum / static_cast<double>(values.size());
}

/// Returns `d` in milliseconds.
inline double milliseconds(std::chrono::nanoseconds d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

/// Returns "text matches", or where `shown` first differs from `expected`.
inline std::string comparison(const std::string& shown, const std::string& expected) {
  if (shown == expected) return "text matches";
  std::size_t at = 0;
  while (at < shown.size() && at < expected.size() && shown[at] == expected[at]) ++at;
  return "MISMATCH at byte " + std::to_string(at) + ": typed \"" + shown.substr(at, 48) +
         "\", expected \"" + expected.substr(at, 48) + "\"";
}

/// Returns the value of `field` in /proc/<pid>/status ("VmRSS" gives "25104 kB"), or "?".
inline std::string statusLine(pid_t pid, const std::string& field) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(field + ":", 0) == 0) {
      return line.substr(line.find_first_not_of(" \t", field.size() + 1));
    }
  }
  return "?";
}

/// Returns the resident memory of `pid` in kB, or nothing when it cannot be read.
inline std::optional<long> residentKilobytes(pid_t pid) {
  const std::string line = statusLine(pid, "VmRSS");
  long kilobytes = 0;
  std::istringstream in(line);
  if (!(in >> kilobytes)) return std::nullopt;
  return kilobytes;
}

/// Runs `program` with `args` and returns what it printed, or nothing when it failed.
inline std::optional<std::string> commandOutput(const std::filesystem::path& program,
                                                const std::vector<std::string>& args) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return std::nullopt;
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_adddup2(&files, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&files, pipeEnds[0]);
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = ::posix_spawn(&pid, program.c_str(), &files, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&files);
  ::close(pipeEnds[1]);
  std::string text;
  char buffer[4096];
  for (ssize_t n; spawned == 0 && (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
    text.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(pipeEnds[0]);
  int status = 1;
  if (spawned == 0) ::waitpid(pid, &status, 0);
  if (spawned != 0 || status != 0) return std::nullopt;
  return text;
}

/// Returns the framework's stroke for `key` (a Stroke has forCharacter, forName and a state),
/// or nothing when the framework has no such key.
template <class Stroke>
std::optional<Stroke> strokeFor(const cli::KeyPress& key, const ModifierMasks& masks) {
  const auto named = KeyCode::namedKey(key.keyCode);
  if (!named) return std::nullopt;
  const char typed = key.shift ? named->shifted : named->plain;
  // Our notation names the key left of Backspace's place after the Mac's "delete".
  const std::string_view name =
      named->name == std::string_view("delete") ? "backspace" : named->name;
  auto stroke = typed > ' ' ? Stroke::forCharacter(typed) : Stroke::forName(name);
  if (!stroke) return std::nullopt;
  const std::pair<bool, std::uint32_t> modifiers[] = {{key.shift, masks.shift},
                                                      {key.option, masks.altGr},
                                                      {key.control, masks.control},
                                                      {key.command, masks.super},
                                                      {key.capsLock, masks.capsLock}};
  for (const auto& [held, mask] : modifiers) {
    if (held) stroke->state |= mask;
  }
  return stroke;
}

/// Returns the strokes that type `text` with yakdrom, as the command-line program beside this
/// one finds them, or nothing (after saying why) when it cannot.
template <class Stroke>
std::optional<std::vector<Stroke>> yakdromKeys(const std::string& text,
                                               const ModifierMasks& masks) {
  const std::filesystem::path program =
      std::filesystem::read_symlink("/proc/self/exe").parent_path() / "yakdrom";
  const auto printed = commandOutput(program, {"keys", text});
  if (!printed) {
    std::fprintf(stderr, "%s keys could not type the paragraph\n", program.c_str());
    return std::nullopt;
  }
  const cli::ParsedKeys parsed = cli::parseKeyNotation(trimmed(*printed));
  if (parsed.error) {
    std::fprintf(stderr, "yakdrom keys printed %s\n", parsed.error->c_str());
    return std::nullopt;
  }
  std::vector<Stroke> strokes;
  for (const cli::KeyPress& key : parsed.keys) {
    const auto stroke = strokeFor<Stroke>(key, masks);
    if (!stroke) {
      std::fprintf(stderr, "no key event for %s\n", key.written.c_str());
      return std::nullopt;
    }
    strokes.push_back(*stroke);
  }
  return strokes;
}

}  // namespace yakdrom::bench
