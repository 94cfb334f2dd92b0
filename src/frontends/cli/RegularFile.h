// The files the command line reads whole (key files, the user dictionary) must be regular
// files: reading a named pipe waits for a writer that may never come, reading a device never
// ends or yields nothing, and writing the dictionary would replace a device with a file.
// Any thread.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

namespace yakdrom::cli {

// The kinds of file that are there but are no regular file, each with its name.
inline constexpr std::array<std::pair<std::filesystem::file_type, std::string_view>, 5>
    kOtherFileKinds = {{
        {std::filesystem::file_type::directory, "a folder"},
        {std::filesystem::file_type::fifo, "a named pipe"},
        {std::filesystem::file_type::character, "a device"},
        {std::filesystem::file_type::block, "a device"},
        {std::filesystem::file_type::socket, "a socket"},
    }};

/// Returns what `file` is when it is there but no regular file or link to one ("a folder",
/// "a device"), or nothing otherwise.
[[nodiscard]] inline std::optional<std::string_view> nonRegularKind(
    const std::filesystem::path& file) {
  std::error_code ignored;
  const auto type = std::filesystem::status(file, ignored).type();
  for (const auto& [kind, name] : kOtherFileKinds) {
    if (kind == type) return name;
  }
  return std::nullopt;
}

}  // namespace yakdrom::cli
