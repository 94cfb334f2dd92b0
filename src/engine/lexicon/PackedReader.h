// The packed lexicon parser. It pulls the unscrambled bytes front to back from a source,
// so a file is parsed while it is read and never has to sit in memory whole.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/lexicon/DictionaryLoader.h"
#include "engine/lexicon/HugePageAllocator.h"

namespace yakdrom::detail {

/// Unscrambled packed bytes, handed out in order.
class PackedSource {
 public:
  virtual ~PackedSource() = default;

  /// Returns the total number of bytes.
  [[nodiscard]] virtual std::uint64_t size() const = 0;

  /// Returns the next `n` bytes, valid until the next call, or nothing when fewer remain.
  [[nodiscard]] virtual std::optional<std::string_view> next(std::size_t n) = 0;
};

/// Bytes already in memory, handed out without copying.
class MemorySource final : public PackedSource {
 public:
  explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
  [[nodiscard]] std::uint64_t size() const override { return bytes_.size(); }
  [[nodiscard]] std::optional<std::string_view> next(std::size_t n) override;

 private:
  std::string_view bytes_;
  std::size_t position_ = 0;
};

/// A scrambled file, read and unscrambled piece by piece.
class ScrambledFileSource final : public PackedSource {
 public:
  /// Returns a source for the file at `path`, or nothing when it cannot be opened.
  [[nodiscard]] static std::unique_ptr<ScrambledFileSource> open(const std::filesystem::path& path);

  [[nodiscard]] std::uint64_t size() const override { return size_; }
  [[nodiscard]] std::optional<std::string_view> next(std::size_t n) override;

 private:
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  ScrambledFileSource(std::unique_ptr<std::FILE, Closer> file, std::uint64_t size)
      : file_(std::move(file)), size_(size) {}

  std::unique_ptr<std::FILE, Closer> file_;
  std::uint64_t size_;
  std::uint64_t position_ = 0;
  std::vector<char, HugePageAllocator<char>> buffer_;
};

class PackedReader {
 public:
  /// Parses a packed lexicon from `source`; nothing when any part is malformed or it holds
  /// no word.
  [[nodiscard]] static std::optional<DictionaryLoader::Result> read(PackedSource& source);
};

}  // namespace yakdrom::detail
