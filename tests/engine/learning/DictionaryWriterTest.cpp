#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "engine/learning/DictionaryWriter.h"
#include "engine/learning/TemporaryFolder.h"
#include "engine/learning/UserDictionary.h"

namespace yakdrom {
namespace {

using testing::readBytes;
using testing::TemporaryFolder;

std::string word(int n) { return "ཀ" + std::to_string(n) + "་"; }

// Polls `done` for up to ten seconds; returns whether it came true.
bool eventually(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

bool contains(const std::vector<std::string>& words, const std::string& wanted) {
  return std::find(words.begin(), words.end(), wanted) != words.end();
}

// Learning from several threads while others read loses no count, and once everything is
// flushed the file holds exactly the final content.
TEST(DictionaryWriter, ConcurrentLearningEndsWithTheLatestContentOnDisk) {
  TemporaryFolder folder;
  const auto file = folder / "user-dictionary.txt";
  constexpr int kThreads = 4;
  constexpr int kRounds = 300;
  constexpr int kWords = 25;
  {
    UserDictionary dict(file);
    std::atomic<bool> learning{true};
    std::vector<std::thread> readers;
    for (int r = 0; r < 2; ++r) {
      readers.emplace_back([&] {
        while (learning) {
          const auto some = dict.candidates("ཀ", 5);
          const auto all = dict.allEntries();
          ASSERT_LE(some.size(), 5U);
          ASSERT_TRUE(std::is_sorted(all.begin(), all.end(), UserDictionaryFormat::inEntryOrder));
        }
      });
    }
    std::vector<std::thread> learners;
    for (int t = 0; t < kThreads; ++t) {
      learners.emplace_back([&] {
        for (int k = 0; k < kRounds * kWords; ++k) dict.learn(word(k % kWords));
      });
    }
    for (auto& t : learners) t.join();
    learning = false;
    for (auto& t : readers) t.join();

    const auto entries = dict.allEntries();
    ASSERT_EQ(entries.size(), static_cast<std::size_t>(kWords));
    for (const auto& e : entries) EXPECT_EQ(e.freq, kThreads * kRounds) << e.word;
  }
  // The dictionary is gone; what it learnt last must be in the file all the same.
  const std::string onDisk = readBytes(file);
  EXPECT_EQ(UserDictionaryFormat::parseWords(onDisk).size(), static_cast<std::size_t>(kWords));
  EXPECT_NE(onDisk.find(" " + std::to_string(kThreads * kRounds) + "\n"), std::string::npos);
}

TEST(DictionaryWriter, FlushAfterReplaceAllWinsOverEarlierLearning) {
  TemporaryFolder folder;
  const auto file = folder / "user-dictionary.txt";
  UserDictionary dict(file);
  for (int k = 0; k < 2000; ++k) dict.learn(word(k));
  static_cast<void>(dict.replaceAll("ཁ 2"));
  dict.learn("ག");
  ASSERT_TRUE(dict.flush().ok());
  EXPECT_EQ(readBytes(file), "ཁ 2\nག 1\n");
}

// A writer killed at any moment leaves the old file or a new one, whole, never a torn mix.
TEST(DictionaryWriter, KilledWriterLeavesAWholeFile) {
  TemporaryFolder folder;
  const auto file = folder / "user-dictionary.txt";
  std::string base;
  for (int k = 0; k < 20000; ++k) base += word(k) + " 3\n";
  {
    UserDictionary seed(file);
    static_cast<void>(seed.replaceAll(base));
  }
  for (const int delayMs : {1, 3, 7, 15, 30, 60}) {
    SCOPED_TRACE(delayMs);
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
      UserDictionary dict(file);
      for (int k = 0;; ++k) {
        dict.learn("ཁ" + std::to_string(k));
        static_cast<void>(dict.flush());
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);

    const std::string onDisk = readBytes(file);
    ASSERT_FALSE(onDisk.empty());
    ASSERT_EQ(onDisk.back(), '\n');
    const UserWords words = UserDictionaryFormat::parseWords(onDisk);
    EXPECT_EQ(UserDictionaryFormat::render(words), onDisk);
    EXPECT_GE(words.size(), 20000U);
    const UserWord* last = words.find(word(19999));
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->freq, 3);
  }
}

// Programs started together each learn a word and write: every write replays its own
// change on what the others wrote, so no word is lost, old or new.
TEST(DictionaryWriter, ProcessesLearningAtOnceKeepEveryWord) {
  TemporaryFolder folder;
  const auto file = folder.write("user-dictionary.txt", "ཁ 5\nག 3\n");
  constexpr int kProcesses = 20;
  int gate[2];
  ASSERT_EQ(::pipe(gate), 0);
  std::vector<pid_t> children;
  for (int k = 0; k < kProcesses; ++k) {
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
      ::close(gate[1]);
      char ignored = 0;
      static_cast<void>(::read(gate[0], &ignored, 1));  // returns when the parent closes it
      const bool written = [&] {
        UserDictionary dict(file);
        dict.learn(word(k));
        return dict.flush().ok();
      }();
      ::_exit(written ? 0 : 1);
    }
    children.push_back(child);
  }
  ::close(gate[0]);
  ::close(gate[1]);
  for (const pid_t child : children) {
    int status = 0;
    const bool ended = eventually([&] { return ::waitpid(child, &status, WNOHANG) == child; });
    if (!ended) ::kill(child, SIGKILL);
    EXPECT_TRUE(ended && WIFEXITED(status) && WEXITSTATUS(status) == 0) << child;
  }
  const UserWords words = UserDictionaryFormat::parseWords(readBytes(file));
  EXPECT_EQ(words.size(), static_cast<std::size_t>(kProcesses + 2));
  for (int k = 0; k < kProcesses; ++k) EXPECT_NE(words.find(word(k)), nullptr) << k;
  EXPECT_EQ(words.find("ཁ")->freq, 5);
  EXPECT_EQ(words.find("ག")->freq, 3);
}

// Two programs' dictionaries on one file end with what both learnt, and each offers the
// other's words once it has read the file again.
TEST(DictionaryWriter, DictionariesOnOneFileShareWhatTheyLearn) {
  TemporaryFolder folder;
  const auto file = folder / "user-dictionary.txt";
  UserDictionary first(file);
  UserDictionary second(file);
  first.learn("ཀཁ");
  second.learn("ཀག");
  second.learn("ཀག");
  ASSERT_TRUE(first.flush().ok());
  ASSERT_TRUE(second.flush().ok());
  EXPECT_EQ(second.renderText(), "ཀག 2\nཀཁ 1\n");  // a write leaves the merged content
  first.learn("ཀང");
  ASSERT_TRUE(first.flush().ok());
  EXPECT_EQ(readBytes(file), "ཀག 2\nཀཁ 1\nཀང 1\n");
  // The candidate path notices the new file by itself, within a second.
  EXPECT_TRUE(eventually([&] { return contains(second.candidates("ཀ", 5), "ཀང"); }));
  ASSERT_TRUE(first.reload().ok());
  EXPECT_EQ(first.candidates("ཀ", 5), (std::vector<std::string>{"ཀག", "ཀཁ", "ཀང"}));
}

// The editor's save writes only what the user changed: a word it deletes stays deleted
// and a word another program learnt meanwhile stays.
TEST(DictionaryWriter, ReplaceAllWritesOnlyTheEditorsChanges) {
  TemporaryFolder folder;
  const auto file = folder.write("user-dictionary.txt", "ཀ 3\nཁ 2\nག 1\n");
  UserDictionary editor(file);
  UserDictionary typing(file);
  typing.learn("ང");
  ASSERT_TRUE(typing.flush().ok());
  ASSERT_TRUE(editor.replaceAll("ཀ 7\nག 1\nཅ 4\n").ok());
  EXPECT_EQ(readBytes(file), "ཀ 7\nཅ 4\nག 1\nང 1\n");
  typing.learn("ག");
  ASSERT_TRUE(typing.flush().ok());
  EXPECT_EQ(readBytes(file), "ཀ 7\nཅ 4\nག 2\nང 1\n");
  EXPECT_EQ(typing.renderText(), readBytes(file));
}

// Words learnt in a burst are gathered into a later write that nobody has to ask for,
// and a flush writes whatever the gathering has not yet written.
TEST(DictionaryWriter, LearntWordsReachTheFileUnaskedAndAFlushAtOnce) {
  TemporaryFolder folder;
  const auto file = folder / "user-dictionary.txt";
  UserDictionary dict(file);
  for (int k = 0; k < 50; ++k) dict.learn("ཀ");
  EXPECT_TRUE(eventually([&] { return readBytes(file) == "ཀ 50\n"; }));
  dict.learn("ཁ");
  ASSERT_TRUE(dict.flush().ok());
  EXPECT_EQ(readBytes(file), "ཀ 50\nཁ 1\n");
}

// A program stuck while holding the lock never holds up typing: learning goes on in memory,
// a flush reports the lock, and the changes are written unasked once it is free.
TEST(DictionaryWriter, LockHeldElsewhereDelaysOnlyTheWrite) {
  TemporaryFolder folder;
  const auto file = folder / "user-dictionary.txt";
  const auto lockFile = folder / "user-dictionary.txt.lock";
  const int held = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  UserDictionary dict(file);
  dict.learn("ཀ");
  EXPECT_EQ(dict.candidates("ཀ", 5), std::vector<std::string>{"ཀ"});
  const auto flushed = dict.flush();
  ASSERT_FALSE(flushed.ok());
  EXPECT_EQ(flushed.error().action, "lock");
  EXPECT_EQ(flushed.error().path, lockFile);
  EXPECT_FALSE(std::filesystem::exists(file));
  dict.learn("ཀ");
  ::close(held);
  EXPECT_TRUE(eventually([&] { return readBytes(file) == "ཀ 2\n"; }));
}

}  // namespace
}  // namespace yakdrom
