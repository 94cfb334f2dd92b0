// The user dictionary's one serial writer: a background thread that keeps the dictionary
// file in step with the table. Requests made while a write runs fold into the next write,
// and every write carries the table as it is when the write starts, so the file always ends
// with the latest content. Any thread may call it.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "engine/learning/FileResult.h"
#include "engine/learning/LocalCalendar.h"
#include "engine/learning/UserWords.h"

namespace yakdrom::detail {

/// How the file looked when the dictionary was loaded.
struct LoadedFile {
  /// The read error of a file that exists but could not be read. Such a file is never
  /// replaced: its content is unknown, so any write could hold less than it does.
  std::optional<FileError> unreadable;
  /// The original bytes of a file that held ill-formed UTF-8. A rewrite would turn those
  /// bytes into U+FFFD, so they are copied beside the file before the first rewrite.
  std::optional<std::string> illFormedBytes;
};

class DictionaryWriter {
 public:
  using CopyContent = std::function<void(UserWords&)>;

  /// Creates a writer for the file at `path`. `copyContent` copies the table as it is now
  /// into its argument; the writer calls it from its own thread at the start of each write,
  /// so nothing is copied before the first write.
  DictionaryWriter(std::filesystem::path path, CopyContent copyContent, LoadedFile loaded,
                   LocalCalendar calendar);

  /// Finishes every write requested so far, then stops the thread.
  ~DictionaryWriter();

  DictionaryWriter(const DictionaryWriter&) = delete;
  DictionaryWriter& operator=(const DictionaryWriter&) = delete;

  /// Asks for a write of the table as it is from now on; returns the request's ticket.
  std::uint64_t request();

  /// Waits until the write that serves `ticket` has finished; returns the number of
  /// entries it wrote, or why it failed.
  [[nodiscard]] FileResult<std::size_t> wait(std::uint64_t ticket);

  /// Returns where the original bytes of an ill-formed file were kept, once they are.
  [[nodiscard]] std::optional<std::filesystem::path> keptOriginal() const;

 private:
  void run();
  [[nodiscard]] FileResult<std::size_t> writeLatest();
  [[nodiscard]] FileStatus keepOriginal();

  const std::filesystem::path path_;
  const CopyContent copyContent_;
  const LocalCalendar calendar_;

  // Touched only by the writer thread (or before it starts).
  UserWords content_;  // the copy last written; kept so the next copy reuses its room
  LoadedFile loaded_;

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable done_;
  std::uint64_t requested_ = 0;                        // guarded by mutex_
  std::uint64_t completed_ = 0;                        // guarded by mutex_
  std::optional<FileResult<std::size_t>> lastResult_;  // guarded by mutex_
  std::optional<std::filesystem::path> keptPath_;      // guarded by mutex_
  bool stopping_ = false;                              // guarded by mutex_
  std::thread thread_;                                 // started by the first request
};

}  // namespace yakdrom::detail
