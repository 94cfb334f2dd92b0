#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/learning/FileRefusal.h"
#include "engine/learning/TemporaryFolder.h"
#include "engine/learning/UserDictionary.h"
#include "engine/text/Text.h"

namespace yakdrom {
namespace {

using testing::readBytes;
using testing::TemporaryFolder;
using testing::writeBytes;
using Entry = UserDictionary::Entry;
using Words = std::vector<std::string>;

std::string repeated(std::string_view s, int n) {
  std::string out;
  for (int k = 0; k < n; ++k) out += s;
  return out;
}

class UserDictionaryTest : public ::testing::Test {
 protected:
  TemporaryFolder folder_;
  std::filesystem::path file_ = folder_ / "user-dictionary.txt";
};

// Asking for the location creates nothing; the first write makes the folder.
TEST_F(UserDictionaryTest, DefaultFileFollowsXdgDataHome) {
  EXPECT_EXIT(
      {
        ::setenv("XDG_DATA_HOME", folder_.path().c_str(), 1);
        const bool xdg = UserDictionary::defaultURL() == folder_ / "Yakdrom/user-dictionary.txt" &&
                         !std::filesystem::exists(folder_ / "Yakdrom");
        ::setenv("XDG_DATA_HOME", "relative/data", 1);
        ::setenv("HOME", folder_.path().c_str(), 1);
        const bool home =
            UserDictionary::defaultURL() == folder_ / ".local/share/Yakdrom/user-dictionary.txt";
        std::exit(xdg && home ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(UserDictionaryTest, LearnTrimsCountsMergesCanonicalSpellingsAndWritesInTheBackground) {
  UserDictionary dict(file_);
  dict.learn("  བོད་ \n");
  EXPECT_EQ(dict.allEntries(), (std::vector<Entry>{{"བོད་", 1}}));
  dict.learn("བོད་");
  dict.learn("\u0F43\u0F0B");
  dict.learn("\u0F42\u0FB7\u0F0B");
  EXPECT_EQ(dict.allEntries(), (std::vector<Entry>{{"\u0F42\u0FB7\u0F0B", 2}, {"བོད་", 2}}));
  ASSERT_TRUE(dict.flush().ok());
  EXPECT_EQ(readBytes(file_), "\u0F42\u0FB7\u0F0B 2\nབོད་ 2\n");
}

TEST_F(UserDictionaryTest, LearnIgnoresWordsItCouldNotStoreAndSaturatesTheFrequency) {
  using enum UserDictionary::IgnoredReason;
  const std::tuple<std::string, std::optional<UserDictionary::IgnoredReason>> cases[] = {
      {repeated("ཀ", 61), tooLong}, {" \t\n", empty},
      {"ཀ\nཁ", lineBreak},                                   // would come back as two words
      {"ཀ\rཁ", lineBreak},          {"caf\xE9", illFormed},  // would be stored as U+FFFD
      {"ཀ\xF0\x9F", illFormed},     {repeated("ཀ", 60), std::nullopt},
  };
  UserDictionary dict(file_);
  for (const auto& [word, reason] : cases) {
    SCOPED_TRACE(word);
    EXPECT_EQ(UserDictionary::whyNotLearnable(word), reason);
    if (reason) dict.learn(word);
  }
  EXPECT_EQ(dict.count(), 0U);
  dict.learn(repeated("ཀ", 60));
  EXPECT_EQ(dict.count(), 1U);
  const auto replaced = dict.replaceAll("ཀ 9223372036854775807");
  ASSERT_TRUE(replaced.ok());
  EXPECT_EQ(replaced.value(), 1U);
  dict.learn("ཀ");
  EXPECT_EQ(dict.renderText(), "ཀ 9223372036854775807\n");
}

TEST_F(UserDictionaryTest, CandidatesFollowEntryOrderAndLimitAndMatchWholeCharacters) {
  UserDictionary dict(file_);
  static_cast<void>(
      dict.replaceAll("ཀཁ 4\nཀག 9\nཀང 9\nཁ 20\nཀ 1\nཀ་ 2\nཀྱི 3\nཀི 4\n\u0F42\u0FB7\u0F0B 5\n"));
  const std::tuple<const char*, int, Words> cases[] = {
      {"ཀ", 10, {"ཀག", "ཀང", "ཀཁ", "ཀ་", "ཀ"}},  // the prefix itself qualifies
      {"ཀ", 2, {"ཀག", "ཀང"}},
      {"ཀ", 0, {}},
      {"", 5, {}},
      {"\u0F43", 10, {"\u0F42\u0FB7\u0F0B"}},
      {"\u0F42", 10, {}},
  };
  for (const auto& [prefix, limit, expected] : cases) {
    SCOPED_TRACE(::testing::Message() << prefix << " " << limit);
    EXPECT_EQ(dict.candidates(prefix, limit), expected);
  }
}

// Words longer than learning takes, written by hand or an older version, stay in the file.
TEST_F(UserDictionaryTest, CandidatesLeaveOutWordsTooLongToLearn) {
  const std::string longest = repeated("ཀ", 60);
  const std::string tooLong = repeated("ཀ", 61);
  const std::string manyScalars = "ཀ" + repeated("ཀྲྀ", 30);  // 91 scalars, 31 characters
  const std::string text = tooLong + " 9\n" + manyScalars + " 8\n" + longest + " 7\n";
  writeBytes(file_, text);
  UserDictionary dict(file_);
  EXPECT_EQ(dict.candidates("ཀ", 10), (Words{manyScalars, longest}));
  dict.learn("ཁ");
  ASSERT_TRUE(dict.flush().ok());
  EXPECT_EQ(readBytes(file_), text + "ཁ 1\n");
}

// The sorted range scan must give what scanning every entry gives.
TEST_F(UserDictionaryTest, CandidatesEqualAFullScan) {
  const std::vector<std::string> pieces = {"ཀ",      "ཁ",      "\u0F42", "\u0FB7", "\u0F43", "ྱ", "ི",
                                           "\u0F71", "\u0F72", "\u0F73", "་",      "ས",      "a"};
  std::mt19937 rng(7);
  auto randomText = [&](int maxPieces) {
    std::string s;
    const int n = 1 + static_cast<int>(rng() % static_cast<unsigned>(maxPieces));
    for (int k = 0; k < n; ++k) s += pieces[rng() % pieces.size()];
    return s;
  };
  std::string text;
  // Besides random words, a thousand that begin with the character ཀ.
  for (int k = 0; k < 3000; ++k) {
    text += (k % 3 == 0 ? "ཀས" : "") + randomText(5) + " " + std::to_string(1 + rng() % 5) + "\n";
  }
  // And words too long to offer, among them.
  for (int k = 0; k < 40; ++k) text += "ཀས" + repeated("ཀ", 60) + randomText(3) + " 6\n";
  UserDictionary dict(file_);
  static_cast<void>(dict.replaceAll(text));
  // Prefixes that hundreds of words share repeat, so their remembered answers are asked
  // for again after learning has raised words into them and within them.
  const auto fullScan = [&dict](const std::string& prefix, std::size_t limit) {
    Words expected;
    for (const auto& e : dict.allEntries()) {
      if (text::hasCharacterPrefix(e.word, prefix) && expected.size() < limit &&
          text::characterCount(e.word) <= UserDictionary::kMaxWordCharacters)
        expected.push_back(e.word);
    }
    return expected;
  };
  // Most prefixes extend the one before, whose search they narrow, with learning between.
  std::string prefix;
  for (int q = 0; q < 300; ++q) {
    if (q % 5 == 0) {
      const std::string word = (q % 2 == 0 ? "ཀས" : "") + randomText(3);
      for (int k = 0; k <= q / 5 % 7; ++k) dict.learn(word);
    }
    prefix = q % 6 == 0 ? "ཀ" : q % 6 == 3 ? randomText(2) : prefix + randomText(1);
    const std::size_t limit = q % 4 < 2 ? 6 : 40;
    SCOPED_TRACE(prefix);
    EXPECT_EQ(dict.candidates(prefix, static_cast<std::int64_t>(limit)), fullScan(prefix, limit));
  }
  // New content forgets every remembered answer.
  static_cast<void>(dict.replaceAll("ཀ 1\n"));
  EXPECT_EQ(dict.candidates("ཀ", 6), Words{"ཀ"});
}

// A prefix that found nothing must not hide the words that any change of content brings.
TEST_F(UserDictionaryTest, ChangesShowInQueriesThatExtendOneThatFoundNothing) {
  const auto list = folder_ / "list.txt";
  writeBytes(list, "ཀཀ 3\n");
  const std::pair<const char*, std::function<void(UserDictionary&)>> changes[] = {
      {"learn", [](UserDictionary& dict) { dict.learn("ཀཀ"); }},
      {"replace", [](UserDictionary& dict) { static_cast<void>(dict.replaceAll("ཀཀ 1\n")); }},
      {"import", [&list](UserDictionary& dict) { static_cast<void>(dict.importWords(list)); }},
      {"reload",
       [this](UserDictionary& dict) {
         UserDictionary other(file_);
         other.learn("ཀཀ");
         ASSERT_TRUE(other.flush().ok());
         ASSERT_TRUE(dict.reload().ok());
       }},
  };
  for (const auto& [name, change] : changes) {
    SCOPED_TRACE(name);
    std::filesystem::remove(file_);
    UserDictionary dict(file_);
    EXPECT_EQ(dict.candidates("ཀ", 5), Words{});
    change(dict);
    EXPECT_EQ(dict.candidates("ཀཀ", 5), Words{"ཀཀ"});
  }
  // A mark that composes with the end of a query that found nothing can make it find words.
  UserDictionary dict(file_);
  dict.learn("\u00E9x");
  EXPECT_EQ(dict.candidates("e", 5), Words{});
  EXPECT_EQ(dict.candidates("e\u0301", 5), Words{"\u00E9x"});
}

TEST_F(UserDictionaryTest, ImportTakesLargerFrequencyAndCountsEveryLine) {
  UserDictionary dict(file_);
  static_cast<void>(dict.replaceAll("བོད་ 5"));
  const auto list = folder_ / "list.txt";
  writeBytes(list, "བོད་ 3\n\n   \nབོད་ 7\n");
  const auto taken = dict.importWords(list);
  ASSERT_TRUE(taken.ok());
  EXPECT_EQ(taken.value(), 2U);
  EXPECT_EQ(readBytes(file_), "བོད་ 7\n");
}

TEST_F(UserDictionaryTest, ImportThatCannotReadChangesNothing) {
  UserDictionary dict(file_);
  static_cast<void>(dict.replaceAll("ཀ 2"));
  const auto missing = dict.importWords(folder_ / "missing.txt");
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error().code, std::errc::no_such_file_or_directory);

  const auto latin1 = folder_ / "latin1.txt";
  writeBytes(latin1, "caf\xE9 4\nཁ 3\n");
  const auto illFormed = dict.importWords(latin1);
  ASSERT_FALSE(illFormed.ok());
  EXPECT_EQ(illFormed.error().code, std::errc::illegal_byte_sequence);
  EXPECT_EQ(dict.renderText(), "ཀ 2\n");
}

TEST_F(UserDictionaryTest, ExportWritesTheWrittenForm) {
  UserDictionary dict(file_);
  const auto out = folder_ / "out.txt";
  const auto empty = dict.exportTo(out);
  ASSERT_TRUE(empty.ok());
  EXPECT_EQ(empty.value(), 0U);
  EXPECT_EQ(readBytes(out), "");
  static_cast<void>(dict.replaceAll("ཀ\nཁ 3"));
  ASSERT_TRUE(dict.exportTo(out).ok());
  EXPECT_EQ(readBytes(out), "ཁ 3\nཀ 1\n");
  ASSERT_TRUE(dict.exportTo(folder_ / "new-folder" / "out.txt").ok());
  EXPECT_EQ(readBytes(folder_ / "new-folder" / "out.txt"), "ཁ 3\nཀ 1\n");
  const auto failed = dict.exportTo(out / "out.txt");  // a file where the folder should be
  ASSERT_FALSE(failed.ok());
  EXPECT_EQ(failed.error().path, out);
}

// A write that fails is reported; the new content stays and goes out with the next write.
TEST_F(UserDictionaryTest, ReplaceAndImportReportAFailedWriteAndKeepTheContent) {
  UserDictionary dict(file_);
  const auto list = folder_.write("list.txt", "ཁ 3\n");
  std::filesystem::create_directories(file_ / "in-the-way");  // a folder where the file goes
  const auto replaced = dict.replaceAll("ཀ 2");
  ASSERT_FALSE(replaced.ok());
  EXPECT_EQ(replaced.error().code, FileRefusal::notRegularFile);
  const auto imported = dict.importWords(list);
  ASSERT_FALSE(imported.ok());
  EXPECT_EQ(imported.error().code, FileRefusal::notRegularFile);
  EXPECT_EQ(dict.renderText(), "ཁ 3\nཀ 2\n");
  std::filesystem::remove_all(file_);
  ASSERT_TRUE(dict.flush().ok());
  EXPECT_EQ(readBytes(file_), "ཁ 3\nཀ 2\n");
}

// The editor shows the entries as they were when it opened; words learnt since then, by this
// program or another, must survive its Save unless the user changed them.
TEST_F(UserDictionaryTest, ApplyEditsChangesOnlyWhatTheEditorTouched) {
  UserDictionary dict(file_);
  static_cast<void>(dict.replaceAll("ཀ 3\nཁ 2\nག 1\nང 5\n"));
  const std::vector<Entry> opened = dict.allEntries();
  for (const char* word : {"ཀ", "ཁ", "ཁ", "ཁ", "ང", "ཅ"}) dict.learn(word);
  {
    UserDictionary other(file_);
    other.learn("ཇ");
    ASSERT_TRUE(other.flush().ok());
  }
  std::vector<Entry> edited = opened;  // ང 5, ཀ 3, ཁ 2, ག 1
  edited.erase(edited.begin() + 1);    // deleted although learnt meanwhile
  edited[1].freq = 4;                  // below what learning raised it to meanwhile
  edited[2].word = "གི";                // renamed
  edited.push_back({" ཆ \n", 0});
  edited.push_back({"  ", 3});
  const auto applied = dict.applyEdits(opened, edited);
  ASSERT_TRUE(applied.ok());
  EXPECT_EQ(applied.value(), 6U);
  const std::vector<Entry> expected = {{"ང", 6}, {"ཁ", 4}, {"གི", 1}, {"ཅ", 1}, {"ཆ", 1}, {"ཇ", 1}};
  EXPECT_EQ(dict.allEntries(), expected);
  EXPECT_EQ(UserDictionary(file_).allEntries(), expected);
}

// Learning not yet written when the editor saves happened before the edit, so the edit
// decides; a failed write keeps both for the next one.
TEST_F(UserDictionaryTest, ApplyEditsGoesOutAfterPendingLearningEvenWhenAWriteFails) {
  UserDictionary dict(file_);
  std::filesystem::create_directories(file_ / "in-the-way");  // a folder where the file goes
  dict.learn("ཀ");
  dict.learn("ཁ");
  const std::vector<Entry> opened = dict.allEntries();
  dict.learn("ཀ");
  dict.learn("ཁ");
  dict.learn("ག");
  const auto applied = dict.applyEdits(opened, {{"ཁ", 5}});
  ASSERT_FALSE(applied.ok());
  EXPECT_EQ(applied.error().code, FileRefusal::notRegularFile);
  EXPECT_EQ(dict.renderText(), "ཁ 5\nག 1\n");
  std::filesystem::remove_all(file_);
  ASSERT_TRUE(dict.flush().ok());
  EXPECT_EQ(readBytes(file_), "ཁ 5\nག 1\n");
}

// A file of ill-formed UTF-8 loads with U+FFFD in place of the bad bytes; those bytes
// are saved beside it before the first rewrite, so nothing the file held is lost.
TEST_F(UserDictionaryTest, IllFormedFileIsKeptAsideBeforeTheFirstRewrite) {
  const std::string original = "ཀ 3\ncaf\xE9 2\n";
  writeBytes(file_, original);
  UserDictionary dict(file_);
  EXPECT_EQ(dict.allEntries(), (std::vector<Entry>{{"ཀ", 3}, {"caf\uFFFD", 2}}));
  EXPECT_EQ(readBytes(file_), original);  // loading alone writes nothing
  EXPECT_FALSE(dict.keptOriginal());
  dict.learn("ཁ");
  ASSERT_TRUE(dict.flush().ok());
  const auto kept = dict.keptOriginal();
  ASSERT_TRUE(kept);
  EXPECT_EQ(readBytes(*kept), original);
  EXPECT_EQ(readBytes(file_), "ཀ 3\ncaf\uFFFD 2\nཁ 1\n");
}

TEST_F(UserDictionaryTest, UnreadableFileIsNeverWrittenOver) {
  std::filesystem::create_directory(file_);  // exists, but reading it fails
  UserDictionary dict(file_);
  ASSERT_TRUE(dict.loadError());
  EXPECT_EQ(dict.loadError()->code, FileRefusal::notRegularFile);
  dict.learn("ཀ");
  EXPECT_EQ(dict.count(), 1U);
  const auto flushed = dict.flush();
  ASSERT_FALSE(flushed.ok());
  EXPECT_EQ(flushed.error(), *dict.loadError());
  EXPECT_TRUE(std::filesystem::is_directory(file_));
}

class FixedClockDictionaryTest : public UserDictionaryTest {
 protected:
  LocalCalendar::TimePoint now_ =
      std::chrono::sys_days{std::chrono::year{2026} / std::chrono::March / 14} +
      std::chrono::hours(9) + std::chrono::seconds(5) + std::chrono::milliseconds(42);
  LocalCalendar calendar_{[this] { return now_; }, "UTC"};
  std::filesystem::path backups_ = folder_ / "backups";

  [[nodiscard]] std::vector<std::string> backupNames() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(backups_)) {
      names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(FixedClockDictionaryTest, BackupIsNamedByLocalTimeAndHoldsTheContent) {
  UserDictionary dict(file_, calendar_);
  static_cast<void>(dict.replaceAll("ཀ 2"));
  const auto made = dict.backup(10);
  ASSERT_TRUE(made.ok());
  EXPECT_EQ(made.value(), backups_ / "Yakdrom用户词库-20260314-090005-042.txt");
  EXPECT_EQ(readBytes(made.value()), "ཀ 2\n");

  // A second backup within the same millisecond takes the same name and replaces it.
  static_cast<void>(dict.replaceAll("ཁ 5"));
  ASSERT_TRUE(dict.backup(10).ok());
  EXPECT_EQ(backupNames(), (Words{"Yakdrom用户词库-20260314-090005-042.txt"}));
  EXPECT_EQ(readBytes(made.value()), "ཁ 5\n");
}

TEST_F(FixedClockDictionaryTest, BackupKeepsTheNewestAndLeavesOtherFilesAlone) {
  std::filesystem::create_directories(backups_);
  for (int day = 1; day <= 12; ++day) {
    const std::string dd = (day < 10 ? "0" : "") + std::to_string(day);
    writeBytes(backups_ / ("Yakdrom用户词库-202603" + dd + "-000000-000.txt"), "");
  }
  writeBytes(backups_ / "notes.txt", "");
  UserDictionary dict(file_, calendar_);
  ASSERT_TRUE(dict.backup(10).ok());
  const auto names = backupNames();
  ASSERT_EQ(names.size(), 11U);
  EXPECT_EQ(names.front(), "Yakdrom用户词库-20260304-000000-000.txt");
  EXPECT_EQ(names[9], "Yakdrom用户词库-20260314-090005-042.txt");
  EXPECT_EQ(names.back(), "notes.txt");
}

TEST_F(FixedClockDictionaryTest, BackupJustMadeAlwaysRemains) {
  std::filesystem::create_directories(backups_);
  const std::string future = "Yakdrom用户词库-20990101-000000-000.txt";  // clock set back since
  writeBytes(backups_ / future, "");
  UserDictionary dict(file_, calendar_);
  for (const int keep : {0, -3, 1}) {
    SCOPED_TRACE(keep);
    const auto made = dict.backup(keep);
    ASSERT_TRUE(made.ok());
    EXPECT_EQ(backupNames(), (Words{made.value().filename().string()}));
  }
  writeBytes(backups_ / future, "");
  ASSERT_TRUE(dict.backup(2).ok());
  EXPECT_EQ(backupNames(), (Words{"Yakdrom用户词库-20260314-090005-042.txt", future}));
}

TEST_F(FixedClockDictionaryTest, BackupReportsAFolderItCannotCreate) {
  writeBytes(backups_, "a file where the folder should be");
  UserDictionary dict(file_, calendar_);
  const auto made = dict.backup(10);
  ASSERT_FALSE(made.ok());
  EXPECT_EQ(made.error().path, backups_);
}

}  // namespace
}  // namespace yakdrom
