#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
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

}  // namespace
}  // namespace yakdrom
