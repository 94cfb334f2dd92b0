#include "engine/lexicon/LexiconText.h"

#include <fstream>
#include <system_error>

namespace yakdrom::detail {

std::optional<std::string> readFile(const std::filesystem::path& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes;
  const auto size = std::filesystem::file_size(path, error);
  if (!error) bytes.reserve(size);
  char chunk[1 << 16];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) return std::nullopt;
  return bytes;
}

}  // namespace yakdrom::detail
