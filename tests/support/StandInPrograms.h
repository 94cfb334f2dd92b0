// Shell scripts that stand in for pkexec, ibus, dpkg and dpkg-query in the uninstall tests.
// Each records its name and arguments in one shared file, NUL-separated after their count,
// so that arguments holding line feeds come back as they were; then runs the test's body.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace yakdrom::testing {

using Call = std::vector<std::string>;

/// Returns `text` as one shell word, whatever characters it holds.
inline std::string shellQuoted(std::string_view text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

class StandInPrograms {
 public:
  /// Keeps the programs in `folder` (which must exist) and their calls in `folder`/calls.
  explicit StandInPrograms(std::filesystem::path folder)
      : folder_(std::move(folder)), log_(folder_ / "calls") {}

  /// Writes the program `name`, which records its call and then runs `body` (sh).
  std::filesystem::path add(std::string_view name, std::string_view body) const {
    const std::filesystem::path program = folder_ / name;
    std::ofstream out(program, std::ios::binary | std::ios::trunc);
    out << "#!/bin/sh\nprintf '%s\\0' \"$#\" \"${0##*/}\" \"$@\" >>" << shellQuoted(log_.string())
        << "\n"
        << body << "\n";
    out.close();
    EXPECT_TRUE(out.good()) << program;
    ::chmod(program.c_str(), 0755);
    return program;
  }

  /// Returns the folder, to put first on PATH.
  [[nodiscard]] const std::filesystem::path& folder() const { return folder_; }

  /// Returns every call so far, in order: the program's name, then its arguments.
  [[nodiscard]] std::vector<Call> calls() const {
    std::ifstream in(log_, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::string> fields;
    for (std::size_t start = 0; start < bytes.size();) {
      const std::size_t end = bytes.find('\0', start);
      fields.push_back(bytes.substr(start, end - start));
      start = end + 1;
    }
    std::vector<Call> calls;
    for (std::size_t i = 0; i < fields.size();) {
      const std::size_t count = std::stoul(fields[i]) + 1;
      calls.emplace_back(fields.begin() + static_cast<std::ptrdiff_t>(i + 1),
                         fields.begin() + static_cast<std::ptrdiff_t>(i + 1 + count));
      i += 1 + count;
    }
    return calls;
  }

 private:
  std::filesystem::path folder_;
  std::filesystem::path log_;
};

}  // namespace yakdrom::testing
