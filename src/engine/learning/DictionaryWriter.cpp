#include "engine/learning/DictionaryWriter.h"

#include <chrono>
#include <memory>

#include "engine/learning/AtomicFile.h"
#include "engine/learning/FileLock.h"
#include "engine/learning/UserDictionaryFormat.h"

namespace yakdrom::detail {
namespace {

namespace fs = std::filesystem;

// How long a write waits for another program's write before it reports the lock taken.
constexpr std::chrono::milliseconds kLockPatience{2000};
// How long after such a failure the write is tried again unasked.
constexpr std::chrono::milliseconds kRetryDelay{1000};
// How long a write that learning asked for waits for more words, so a burst of typing
// costs one write and one wake-up of this thread rather than one per word.
constexpr std::chrono::milliseconds kGatherDelay{250};

}  // namespace

// The version is noted before the read, so a file replaced meanwhile is read again later
// rather than taken for the version read.
LoadedWords DictionaryWriter::load(const fs::path& path) {
  const std::optional<FileIdentity> identity = FileIdentity::of(path);
  auto bytes = AtomicFile::read(path);
  if (!bytes) {
    if (bytes.error().code == std::errc::no_such_file_or_directory) return {};
    return {{}, {bytes.error(), std::nullopt, identity}};
  }
  const auto shared = std::make_shared<const LargeString>(std::move(bytes.value()));
  ParsedWords parsed = UserDictionaryFormat::readWords(shared);
  LoadedWords loaded{std::move(parsed.words), {std::nullopt, std::nullopt, identity}};
  if (!parsed.wellFormed) loaded.file.illFormedBytes.emplace(shared->begin(), shared->end());
  return loaded;
}

DictionaryWriter::DictionaryWriter(fs::path path, DictionaryContent content, LoadedFile loaded,
                                   LocalCalendar calendar)
    : path_(std::move(path)),
      lockPath_(path_.string() + ".lock"),
      dictionary_(std::move(content)),
      calendar_(std::move(calendar)),
      loaded_(std::move(loaded)),
      known_(loaded_.identity) {}

DictionaryWriter::~DictionaryWriter() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
}

std::uint64_t DictionaryWriter::request() { return enqueue(true, true); }

std::uint64_t DictionaryWriter::requestReload() { return enqueue(false, true); }

// A pass clears the flag before it takes the content, so a change made before a schedule()
// that finds the flag set is always in the content that the coming pass takes.
void DictionaryWriter::schedule() {
  if (scheduled_.exchange(true)) return;
  static_cast<void>(enqueue(true, false));
}

void DictionaryWriter::reloadIfReplaced() {
  const std::optional<FileIdentity> now = FileIdentity::of(path_);
  {
    std::lock_guard lock(mutex_);
    // A pass already waiting reads the file again anyway.
    if (now == known_ || requested_ > completed_) return;
  }
  static_cast<void>(requestReload());
}

std::uint64_t DictionaryWriter::enqueue(bool write, bool awaited) {
  std::uint64_t ticket = 0;
  {
    std::lock_guard lock(mutex_);
    ticket = ++requested_;
    if (write) writeRequested_ = ticket;
    if (awaited) awaitedRequested_ = ticket;
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

std::optional<fs::path> DictionaryWriter::keptOriginal() const {
  std::lock_guard lock(mutex_);
  return keptPath_;
}

void DictionaryWriter::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    const auto due = [&] { return stopping_ || requested_ > completed_; };
    // Changes that found the lock taken go out once it is free, asked for or not, and
    // before the writer stops.
    if (retryDue_) {
      wake_.wait_for(lock, kRetryDelay, due);
      retryDue_ = false;
      writeRequested_ = ++requested_;
    }
    wake_.wait(lock, due);
    wake_.wait_for(lock, kGatherDelay, [&] { return stopping_ || awaitedRequested_ > completed_; });
    if (requested_ == completed_) return;
    // Everything changed before this ticket was issued is in the content by now, so one
    // pass serves every request up to it.
    const std::uint64_t ticket = requested_;
    const bool write = writeRequested_ > completed_;
    scheduled_.store(false);
    lock.unlock();
    FileResult<std::size_t> result = pass(write);
    lock.lock();
    retryDue_ = write && !stopping_ && !result && result.error().action == FileLock::kAction;
    completed_ = ticket;
    lastResult_ = std::move(result);
    done_.notify_all();
  }
}

FileResult<std::size_t> DictionaryWriter::pass(bool write) {
  if (loaded_.unreadable) return *loaded_.unreadable;
  if (!write) {
    if (const auto reloaded = reloadIfChanged(); !reloaded) return reloaded.error();
    return 0;
  }
  auto lock = FileLock::acquire(lockPath_, kLockPatience);
  if (!lock) return lock.error();
  if (const auto reloaded = reloadIfChanged(); !reloaded) return reloaded.error();
  return writeContent();
}

// A file that cannot be read is left alone, as at load; its content is unknown.
FileStatus DictionaryWriter::reloadIfChanged() {
  const std::optional<FileIdentity> now = FileIdentity::of(path_);
  {
    std::lock_guard lock(mutex_);
    if (now == known_) return std::monostate{};
  }
  LoadedWords loaded = load(path_);
  if (loaded.file.unreadable) return *loaded.file.unreadable;
  if (loaded.file.illFormedBytes) loaded_.illFormedBytes = std::move(loaded.file.illFormedBytes);
  dictionary_.rebase(std::move(loaded.words));
  std::lock_guard lock(mutex_);
  known_ = loaded.file.identity;
  return std::monostate{};
}

FileResult<std::size_t> DictionaryWriter::writeContent() {
  DictionaryChanges taken = dictionary_.take(content_);
  if (const auto kept = keepOriginal(); !kept) {
    dictionary_.restore(taken);
    return kept.error();
  }
  const auto written = AtomicFile::write(path_, UserDictionaryFormat::render(content_));
  if (!written) {
    dictionary_.restore(taken);
    return written.error();
  }
  std::lock_guard lock(mutex_);
  known_ = FileIdentity::of(path_);
  return content_.size();
}

FileStatus DictionaryWriter::keepOriginal() {
  if (!loaded_.illFormedBytes) return std::monostate{};
  const std::string base = path_.string() + ".kept-" + calendar_.timestamp(calendar_.now());
  fs::path kept = base;
  std::error_code ec;
  for (int n = 1; fs::exists(kept, ec); ++n) kept = base + "-" + std::to_string(n);
  const auto written = AtomicFile::write(kept, *loaded_.illFormedBytes);
  if (!written) return written.error();
  loaded_.illFormedBytes.reset();
  std::lock_guard lock(mutex_);
  keptPath_ = std::move(kept);
  return std::monostate{};
}

}  // namespace yakdrom::detail
