// Helpers for lexicon tests: a fresh temporary folder per test, file reading and the
// shipped lexicon sources.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/learning/TemporaryFolder.h"

namespace yakdrom::testing {

using TempDir = TemporaryFolder;

/// Returns the bytes of the file at `path`, or "" when it cannot be read.
inline std::string readAll(const std::filesystem::path& path) { return readBytes(path); }

/// Returns the folder of the shipped lexicon sources.
inline std::filesystem::path testDataDir() {
  const char* dir = std::getenv("YAKDROM_TEST_DATA");
  return dir != nullptr ? std::filesystem::path(dir) : std::filesystem::path("resources/data");
}

}  // namespace yakdrom::testing
