#include "engine/learning/UserDictionary.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <limits>
#include <string>
#include <utility>

#include "engine/learning/AtomicFile.h"
#include "engine/store/UserFolders.h"
#include "engine/text/Text.h"

namespace yakdrom {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kFileName = "user-dictionary.txt";
constexpr std::string_view kBackupFolderName = "backups";
constexpr std::string_view kBackupPrefix = "Yakdrom用户词库-";
constexpr std::string_view kBackupSuffix = ".txt";

// How often the candidate path looks whether another program has replaced the file.
constexpr std::chrono::steady_clock::duration kReloadCheckInterval = std::chrono::seconds(1);

// A word as learn() stores it, or why it is ignored. A line feed or carriage return would
// split the word into two entries when the file is read back; ill-formed UTF-8 would be
// stored as U+FFFD, which is not what was typed; an empty NFC form means ICU could not read
// the word as Unicode text.
struct Learnable {
  std::string word;
  std::optional<UserDictionary::IgnoredReason> ignored;
};

Learnable examine(std::string_view raw) {
  using enum UserDictionary::IgnoredReason;
  const std::string_view trimmed = UserDictionaryFormat::trimWord(raw, true);
  if (trimmed.empty()) return {{}, empty};
  if (!text::isWellFormedUtf8(trimmed)) return {{}, illFormed};
  std::string word = text::nfc(trimmed);
  if (word.empty()) return {{}, illFormed};
  if (word.find_first_of("\r\n") != std::string::npos) return {{}, lineBreak};
  if (text::characterCount(word) > UserDictionary::kMaxWordCharacters) return {{}, tooLong};
  return {std::move(word), std::nullopt};
}

// Counting scalars is cheap and no word has more characters than scalars, so the costly
// character count runs only for the rare word with many scalars.
bool offerable(std::string_view word) {
  return word.size() <= UserDictionary::kMaxWordCharacters ||
         text::scalarCount(word) <= UserDictionary::kMaxWordCharacters ||
         text::characterCount(word) <= UserDictionary::kMaxWordCharacters;
}

// A run of matching words longer than this is worth remembering the answer of: walking
// it costs far more than keeping the answer exact while learning.
constexpr std::size_t kLongRun = 256;
// Answers remembered at most; the prefixes with long runs are few (single letters, mostly).
constexpr std::size_t kMostAnswers = 64;

bool inEntryOrder(const UserWord& a, const UserWord& b) {
  return a.freq != b.freq ? a.freq > b.freq : a.word < b.word;
}

std::int64_t incremented(std::int64_t freq) {
  return freq == std::numeric_limits<std::int64_t>::max() ? freq : freq + 1;
}

// Makes `bound` the least text above every key that shares `key`'s bytes up to `offset`
// and the scalar that starts there; one string serves every skip of a query.
std::string_view pastScalarRun(std::string_view key, std::size_t offset, std::string& bound) {
  const auto lead = static_cast<unsigned char>(key[offset]);
  const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  bound.assign(key.substr(0, std::min(key.size(), offset + length)));
  // The last byte is ASCII or a continuation byte, so it never overflows.
  ++bound.back();
  return bound;
}

// Reads `entries` as their written form would be read, so that an edited list and a
// replaced text agree on trimming, NFC and repeats. Blank words are left out rather than
// written, where the frequency would become the word; so is a frequency below 1, which
// would not read as one.
UserWords wordsOf(const std::vector<UserDictionary::Entry>& entries) {
  std::string text;
  for (const auto& [raw, freq] : entries) {
    const std::string_view word = UserDictionaryFormat::trimWord(raw, true);
    if (word.empty()) continue;
    text += word;
    text += ' ';
    text += std::to_string(std::max<std::int64_t>(freq, 1));
    text += '\n';
  }
  return UserDictionaryFormat::parseWords(text);
}

bool isBackupName(std::string_view name) {
  return name.size() > kBackupPrefix.size() + kBackupSuffix.size() &&
         name.starts_with(kBackupPrefix) && name.ends_with(kBackupSuffix);
}

// Deletes the oldest backups so that `keep` remain, the one just written among them even
// when a clock set back makes its name sort before older ones.
FileStatus pruneBackups(const fs::path& folder, const fs::path& newest, int keep) {
  std::error_code ec;
  std::vector<std::string> names;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (isBackupName(name) && name != newest.filename().string()) names.push_back(name);
  }
  if (ec) return FileError{"list the folder", folder, ec};
  std::sort(names.begin(), names.end());
  const std::size_t others = static_cast<std::size_t>(std::max(keep, 1) - 1);
  for (std::size_t k = 0; k + others < names.size(); ++k) {
    std::error_code ignored;
    fs::remove(folder / names[k], ignored);
  }
  return std::monostate{};
}

}  // namespace

UserDictionary& UserDictionary::shared() {
  static UserDictionary instance(defaultURL());
  return instance;
}

fs::path UserDictionary::defaultURL() { return UserFolders::data() / kFileName; }

UserDictionary::UserDictionary(fs::path url, LocalCalendar calendar)
    : url_(std::move(url)), calendar_(std::move(calendar)) {
  detail::LoadedWords loaded = detail::DictionaryWriter::load(url_);
  loadError_ = loaded.file.unreadable;
  words_ = std::move(loaded.words);
  detail::DictionaryContent content{[this](UserWords onDisk) { rebase(std::move(onDisk)); },
                                    [this](UserWords& into) { return take(into); },
                                    [this](const DictionaryChanges& taken) { restore(taken); }};
  writer_ = std::make_unique<detail::DictionaryWriter>(url_, std::move(content),
                                                       std::move(loaded.file), calendar_);
}

UserDictionary::~UserDictionary() = default;

std::optional<fs::path> UserDictionary::keptOriginal() const { return writer_->keptOriginal(); }

std::size_t UserDictionary::count() const {
  std::lock_guard lock(mutex_);
  return words_.size();
}

std::optional<UserDictionary::IgnoredReason> UserDictionary::whyNotLearnable(
    std::string_view word) {
  return examine(word).ignored;
}

void UserDictionary::learn(std::string_view raw) {
  const Learnable learnable = examine(raw);
  if (learnable.ignored) return;
  const std::string& word = learnable.word;
  {
    std::lock_guard lock(mutex_);
    const UserWord* stored = words_.find(word);
    rerankAnswers(words_.set(word, incremented(stored != nullptr ? stored->freq : 0)));
    ++version_;
    changes_.add(word, 1);
  }
  writer_->schedule();
}

std::vector<std::string> UserDictionary::candidates(std::string_view prefix,
                                                    std::int64_t limit) const {
  std::vector<std::string> out;
  out.resize(candidatesInto(prefix, limit, out));
  return out;
}

std::size_t UserDictionary::candidatesInto(std::string_view prefix, std::int64_t limit,
                                           std::vector<std::string>& room) const {
  if (prefix.empty() || limit < 1) return 0;
  const std::int64_t now = std::chrono::steady_clock::now().time_since_epoch().count();
  if (now >= nextCheck_.load(std::memory_order_relaxed)) {
    nextCheck_.store(now + kReloadCheckInterval.count(), std::memory_order_relaxed);
    writer_->reloadIfReplaced();
  }
  {
    std::lock_guard lock(mutex_);
    if (failed_.rulesOut(prefix, version_)) return 0;
  }
  // Keys are NFC and NFC keeps character boundaries, so every word that begins with the
  // prefix character by character lies in the run of keys that begin with its NFC bytes.
  // Typed Tibetan is nearly always NFC already and then needs no normalised copy.
  std::string normalized;
  const std::string_view key = text::wellFormedNfc(prefix, normalized);
  if (key.empty()) return 0;  // ICU could not normalise the prefix
  std::size_t count = 0;
  const auto put = [&room, &count](const UserWord& word) {
    if (count < room.size()) {
      room[count].assign(word.word);
    } else {
      room.emplace_back(word.word);
    }
    ++count;
  };
  std::lock_guard lock(mutex_);
  auto& matches = matches_;
  matches.clear();
  const bool narrows = narrowing_.version == version_ && key.starts_with(narrowing_.key);
  if (narrows && narrowing_.first == narrowing_.last) {
    failed_.note(prefix, version_);
    return 0;
  }
  const auto wanted = static_cast<std::size_t>(limit);
  for (const Answer& answer : answers_) {
    if (answer.key != key || answer.limit != wanted) continue;
    for (const UserWord& word : answer.words) put(word);
    return count;
  }
  const auto below = [](const UserWord& entry, std::string_view k) { return entry.word < k; };
  const auto begins = [&key](const UserWord& entry) { return entry.word.starts_with(key); };
  // Every key that begins with the query begins with the last one, so it lies in its run.
  const auto* const from = narrows ? words_.begin() + narrowing_.first : words_.begin();
  const auto* const to = narrows ? words_.begin() + narrowing_.last : words_.end();
  auto it = std::lower_bound(from, to, key, below);
  narrowing_.key.assign(key);
  narrowing_.first = static_cast<std::size_t>(it - words_.begin());
  narrowing_.last = static_cast<std::size_t>(std::partition_point(it, to, begins) - words_.begin());
  narrowing_.version = version_;
  if (narrowing_.first == narrowing_.last) failed_.note(prefix, version_);
  const auto* const end = words_.begin() + narrowing_.last;
  std::string bound;
  while (it != end) {
    if (it->word.size() == key.size()) {  // the key itself, a whole word
      if (offerable(it->word)) matches.push_back(it);
      ++it;
      continue;
    }
    // Whether a character boundary follows the prefix depends only on the prefix and the
    // next scalar, so the keys that continue with this scalar all match or all fail.
    const auto* const next =
        std::lower_bound(it, end, pastScalarRun(it->word, key.size(), bound), below);
    if (text::hasCharacterPrefix(it->word, key)) {
      for (; it != next; ++it) {
        if (offerable(it->word)) matches.push_back(it);
      }
    }
    it = next;
  }
  const std::size_t run = matches.size();
  const std::size_t take = std::min(wanted, run);
  const auto byEntryOrder = [](const UserWord* a, const UserWord* b) {
    return inEntryOrder(*a, *b);
  };
  std::partial_sort(matches.begin(), matches.begin() + static_cast<std::ptrdiff_t>(take),
                    matches.end(), byEntryOrder);
  matches.resize(take);
  for (const UserWord* word : matches) put(*word);
  if (run > std::max(kLongRun, wanted)) {
    if (answers_.size() == kMostAnswers) answers_.clear();
    std::vector<UserWord> words;
    words.reserve(take);
    for (const UserWord* word : matches) words.push_back(*word);
    answers_.push_back({std::string(key), wanted, std::move(words)});
  }
  return count;
}

// Frequencies only rise between replacements of the content, so a word that rises into an
// answer pushes out its last word, and one already in it can only move up.
void UserDictionary::rerankAnswers(const UserWord& word) {
  for (Answer& answer : answers_) {
    if (!word.word.starts_with(answer.key) || !text::hasCharacterPrefix(word.word, answer.key)) {
      continue;
    }
    auto& words = answer.words;
    const auto same = std::find_if(words.begin(), words.end(),
                                   [&word](const UserWord& w) { return w.word == word.word; });
    if (same != words.end()) {
      same->freq = word.freq;
    } else if (inEntryOrder(word, words.back())) {
      words.back() = word;
    } else {
      continue;
    }
    std::sort(words.begin(), words.end(), inEntryOrder);
  }
}

UserWords UserDictionary::snapshot() const {
  std::lock_guard lock(mutex_);
  return words_;
}

void UserDictionary::rebase(UserWords onDisk) {
  std::lock_guard lock(mutex_);
  changes_.applyTo(onDisk);
  answers_.clear();
  ++version_;
  words_ = std::move(onDisk);
}

DictionaryChanges UserDictionary::take(UserWords& into) {
  std::lock_guard lock(mutex_);
  into = words_;
  return std::exchange(changes_, {});
}

void UserDictionary::restore(const DictionaryChanges& taken) {
  std::lock_guard lock(mutex_);
  changes_.followOn(taken);
}

std::vector<UserDictionary::Entry> UserDictionary::allEntries() const {
  return UserDictionaryFormat::entries(snapshot());
}

std::string UserDictionary::renderText() const { return UserDictionaryFormat::render(snapshot()); }

FileResult<std::size_t> UserDictionary::replaceAll(std::string_view text) {
  UserWords words = UserDictionaryFormat::parseWords(text);
  const std::size_t n = words.size();
  {
    std::lock_guard lock(mutex_);
    answers_.clear();
    ++version_;
    changes_.recordDifference(words_, words);
    words_ = std::move(words);
  }
  const auto written = flush();
  if (!written) return written.error();
  return n;
}

FileResult<std::size_t> UserDictionary::applyEdits(const std::vector<Entry>& opened,
                                                   const std::vector<Entry>& edited) {
  DictionaryChanges edit;
  edit.recordDifference(wordsOf(opened), wordsOf(edited));
  {
    std::lock_guard lock(mutex_);
    edit.applyTo(words_);
    answers_.clear();
    ++version_;
    // The edit was made after the changes still pending, so it goes out after them.
    edit.followOn(changes_);
    changes_ = std::move(edit);
  }
  // The write merges what other programs have written meanwhile, so its count is the one
  // held now.
  return flush();
}

FileResult<std::size_t> UserDictionary::flush() { return writer_->wait(writer_->request()); }

FileStatus UserDictionary::reload() {
  const auto reloaded = writer_->wait(writer_->requestReload());
  if (!reloaded) return reloaded.error();
  return std::monostate{};
}

FileResult<std::size_t> UserDictionary::importWords(const fs::path& source) {
  auto bytes = detail::AtomicFile::read(source);
  if (!bytes) return bytes.error();
  const ParsedWords parsed = UserDictionaryFormat::readWords(
      std::make_shared<const detail::LargeString>(std::move(bytes.value())));
  if (!parsed.wellFormed) {
    return FileError{"read as UTF-8 text", source,
                     std::make_error_code(std::errc::illegal_byte_sequence)};
  }
  {
    std::lock_guard lock(mutex_);
    answers_.clear();
    ++version_;
    words_.mergeKeepingLarger(parsed.words);
    for (const UserWord& entry : parsed.words) changes_.raiseTo(entry.word, entry.freq);
  }
  const auto written = flush();
  if (!written) return written.error();
  return parsed.lines;
}

FileResult<std::size_t> UserDictionary::exportTo(const fs::path& destination) const {
  const UserWords words = snapshot();
  const auto written = detail::AtomicFile::write(destination, UserDictionaryFormat::render(words));
  if (!written) return written.error();
  return words.size();
}

FileResult<fs::path> UserDictionary::backup(int keep) {
  const UserWords words = snapshot();
  const fs::path folder = url_.parent_path() / kBackupFolderName;
  const fs::path file =
      folder / (std::string(kBackupPrefix) + calendar_.timestamp(calendar_.now()) +
                std::string(kBackupSuffix));
  const auto written = detail::AtomicFile::write(file, UserDictionaryFormat::render(words));
  if (!written) return written.error();
  if (const auto pruned = pruneBackups(folder, file, keep); !pruned) return pruned.error();
  return file;
}

}  // namespace yakdrom
