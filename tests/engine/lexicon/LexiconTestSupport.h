// Helpers for lexicon tests: a fresh temporary folder per test and file writing.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace yakdrom::testing {

/// A folder of its own under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "yakdrom-lexicon-XXXXXX");
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot create " << pattern;
    path_ = pattern;
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

  /// Returns the path of `name` inside the folder.
  [[nodiscard]] std::filesystem::path operator/(std::string_view name) const {
    return path_ / name;
  }

  /// Writes `bytes` to `name` inside the folder and returns its path.
  std::filesystem::path write(std::string_view name, std::string_view bytes) const {
    const auto path = path_ / name;
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    EXPECT_TRUE(out.good()) << path;
    return path;
  }

 private:
  std::filesystem::path path_;
};

/// Returns the bytes of the file at `path`, or "" when it cannot be read.
inline std::string readAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

/// Returns the folder of the shipped lexicon sources.
inline std::filesystem::path testDataDir() {
  const char* dir = std::getenv("YAKDROM_TEST_DATA");
  return dir != nullptr ? std::filesystem::path(dir) : std::filesystem::path("resources/data");
}

}  // namespace yakdrom::testing
