#include "engine/learning/DictionaryWriter.h"

#include "engine/learning/AtomicFile.h"
#include "engine/learning/UserDictionaryFormat.h"

namespace yakdrom::detail {

DictionaryWriter::DictionaryWriter(std::filesystem::path path, CopyContent copyContent,
                                   LoadedFile loaded, LocalCalendar calendar)
    : path_(std::move(path)),
      copyContent_(std::move(copyContent)),
      calendar_(std::move(calendar)),
      loaded_(std::move(loaded)) {}

DictionaryWriter::~DictionaryWriter() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
}

std::uint64_t DictionaryWriter::request() {
  std::uint64_t ticket = 0;
  {
    std::lock_guard lock(mutex_);
    ticket = ++requested_;
    if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
  }
  wake_.notify_one();
  return ticket;
}

FileResult<std::size_t> DictionaryWriter::wait(std::uint64_t ticket) {
  std::unique_lock lock(mutex_);
  done_.wait(lock, [&] { return completed_ >= ticket; });
  return *lastResult_;
}

std::optional<std::filesystem::path> DictionaryWriter::keptOriginal() const {
  std::lock_guard lock(mutex_);
  return keptPath_;
}

void DictionaryWriter::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [&] { return stopping_ || requested_ > completed_; });
    if (requested_ == completed_) return;
    // Everything changed before this ticket was issued is in the table by now, so one write
    // of the current table serves every request up to it.
    const std::uint64_t ticket = requested_;
    lock.unlock();
    FileResult<std::size_t> result = writeLatest();
    lock.lock();
    completed_ = ticket;
    lastResult_ = std::move(result);
    done_.notify_all();
  }
}

FileResult<std::size_t> DictionaryWriter::writeLatest() {
  if (loaded_.unreadable) return *loaded_.unreadable;
  copyContent_(content_);
  if (const auto kept = keepOriginal(); !kept) return kept.error();
  const auto written = AtomicFile::write(path_, UserDictionaryFormat::render(content_));
  if (!written) return written.error();
  return content_.size();
}

FileStatus DictionaryWriter::keepOriginal() {
  if (!loaded_.illFormedBytes) return std::monostate{};
  const std::string base = path_.string() + ".kept-" + calendar_.timestamp(calendar_.now());
  std::filesystem::path kept = base;
  std::error_code ec;
  for (int n = 1; std::filesystem::exists(kept, ec); ++n) kept = base + "-" + std::to_string(n);
  const auto written = AtomicFile::write(kept, *loaded_.illFormedBytes);
  if (!written) return written.error();
  loaded_.illFormedBytes.reset();
  std::lock_guard lock(mutex_);
  keptPath_ = std::move(kept);
  return std::monostate{};
}

}  // namespace yakdrom::detail
