#include <gtest/gtest.h>

#include "engine/learning/TemporaryFolder.h"
#include "engine/lexicon/LexiconWriter.h"
#include "engine/store/InMemoryPreferenceStore.h"
#include "ime/fakes/FakePlatform.h"
#include "ime/startup/CustomFont.h"
#include "ime/startup/InputMethodStartup.h"

namespace yakdrom::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kCsv = "word,definition\nཀ་,ཀ་ཡིག\nཁ་,\nག་,\n";

// "platform" stands for the platform's own resource lookup; "bundle/bin" holds the program
// and "bundle/Resources" what it carries.
class StartupTest : public ::testing::Test {
 protected:
  StartupTest() {
    for (const char* dir : {"bundle/bin", "bundle/Resources", "platform"}) {
      fs::create_directories(folder / dir);
    }
  }

  fs::path put(const std::string& where, const std::string& name, std::string_view bytes) {
    const fs::path file = folder / where / name;
    writeBytes(file, bytes);
    if (where == "platform") locator->files[name] = file;
    return file;
  }

  void clearResources() {
    locator->files.clear();
    fs::remove_all(folder / "bundle/Resources");
    fs::create_directories(folder / "bundle/Resources");
  }

  [[nodiscard]] ApplicationBundle bundle() const {
    return {locator, folder / "bundle/bin", folder / "bundle", "org.freedesktop.IBus.Yakdrom"};
  }

  // How the lookup beside the executable spells its paths.
  [[nodiscard]] fs::path besideExecutable(const std::string& name) const {
    return (folder / "bundle/bin").string() + "/../Resources/" + name;
  }

  TemporaryFolder folder;
  std::shared_ptr<FakeResourceLocator> locator = std::make_shared<FakeResourceLocator>();
  RecordingLog log;
  TibetanDictionary explanations;
};

TEST_F(StartupTest, LexiconIsLookedUpPackedFirstThenBesideTheExecutable) {
  struct Case {
    std::vector<std::pair<std::string, std::string>> files;  // folder, name
    fs::path expected;
  };
  const std::vector<Case> cases = {
      {{{"platform", "tbtotb.csv"}, {"bundle/Resources", "lex.dat"}},
       folder / "platform/tbtotb.csv"},
      {{{"platform", "lex.dat"}, {"platform", "tbtotb.csv"}}, folder / "platform/lex.dat"},
      {{{"bundle/Resources", "tbtotb.csv"}}, besideExecutable("tbtotb.csv")},
      {{{"bundle/Resources", "tbtotb.csv"}, {"bundle/Resources", "lex.dat"}},
       besideExecutable("lex.dat")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    clearResources();
    for (const auto& [where, name] : c.files) put(where, name, kCsv);
    EXPECT_EQ(DictionaryStore(bundle(), log, explanations).locateLexicon(), c.expected);
  }
}

TEST_F(StartupTest, PreloadInstallsTheLexiconOnceAndLogsTheCounts) {
  const DictionaryLoader::Result content{
      {"ཀ་", "ཁ་"}, {{"ཀ", "ཀ་ཡིག"}}, {{"ཀ", "字"}, {"ཁ", "口"}}, {{"ཀ", "letter"}}};
  put("platform", "lex.dat", *LexiconWriter::encode(content, LexiconForm::packed));
  DictionaryStore store(bundle(), log, explanations);
  EXPECT_FALSE(store.waitUntilLoaded()) << "nothing started yet";
  store.preloadIfNeeded();
  store.preloadIfNeeded();
  EXPECT_TRUE(store.waitUntilLoaded());
  EXPECT_TRUE(store.engine().contains("ཁ་"));
  EXPECT_EQ(explanations.englishExplanation("ཀ་"), "letter");
  EXPECT_EQ(log.lines,
            std::vector<std::string>{
                "Yakdrom IME: 词库/词典加载成功，词 2，藏文释义 1，汉文释义 2，英文释义 1"});
}

TEST_F(StartupTest, FailedPreloadIsLoggedAndNeverRepeated) {
  const std::vector<std::pair<bool, std::string>> cases = {
      {false, "Yakdrom IME: 未找到词库文件。Bundle.main=" + (folder / "bundle").string()},
      {true, "Yakdrom IME: 词库加载失败，路径 " + (folder / "platform/tbtotb.csv").string() +
                 "：it holds no lexicon word"},
  };
  for (const auto& [unreadableFile, line] : cases) {
    SCOPED_TRACE(line);
    log.lines.clear();
    if (unreadableFile) put("platform", "tbtotb.csv", "");
    DictionaryStore store(bundle(), log, explanations);
    store.preloadIfNeeded();
    EXPECT_FALSE(store.waitUntilLoaded());
    store.preloadIfNeeded();
    EXPECT_EQ(log.lines, std::vector<std::string>{line});
  }
}

TEST_F(StartupTest, AGivenLexiconFileReplacesTheSearchUntilTheLoadStarts) {
  put("platform", "lex.dat", "");
  const fs::path given = put("bundle", "words.csv", kCsv);
  DictionaryStore store(bundle(), log, explanations);
  store.useLexiconFile(given);
  store.preloadIfNeeded();
  store.useLexiconFile(folder / "platform/lex.dat");
  EXPECT_TRUE(store.waitUntilLoaded());
  EXPECT_EQ(store.engine().count(), 3U);
  EXPECT_EQ(store.locateLexicon(), given);
}

TEST_F(StartupTest, CustomFontIsRegisteredFromTheBundleOrBesideTheExecutable) {
  const std::string success = "Yakdrom IME: 字体 Yakdrom-SN 注册成功，路径 ";
  struct Case {
    std::string where;
    bool registers;
    std::string failure;
    std::string line;
  };
  const std::vector<Case> cases = {
      {"platform", true, "", success + (folder / "platform/Yakdrom-SN.ttf").string()},
      {"bundle/Resources", true, "", success + besideExecutable("Yakdrom-SN.ttf").string()},
      {"bundle/Resources", false, "unreadable", "Yakdrom IME: 字体注册失败 unreadable"},
      {"platform", false, "", "Yakdrom IME: 字体注册失败 未知错误"},  // no description given
      {"", false, "", "Yakdrom IME: 未找到 Yakdrom-SN.ttf"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    clearResources();
    log.lines.clear();
    FakeFontSystem fonts;
    fonts.failure = c.failure;
    if (!c.where.empty()) put(c.where, "Yakdrom-SN.ttf", "font");
    if (c.registers) fonts.facesInFile[c.line.substr(success.size())] = "Yakdrom-SN-R";
    registerCustomFont(bundle(), fonts, log);
    EXPECT_EQ(log.lines, std::vector<std::string>{c.line});
    EXPECT_EQ(fonts.installed.contains("Yakdrom-SN-R"), c.registers);
  }
}

class InputMethodStartupTest : public StartupTest {
 protected:
  // Each hook leaves a line in the log, so the log shows the order of all steps.
  int run(bool serverStarts) {
    const StartupHooks hooks{
        [&](std::string_view name, const std::optional<std::string>& id) {
          log.lines.push_back("server " + std::string(name) + " " + id.value_or("-"));
          return serverStarts;
        },
        [&](std::function<void()> action) {
          log.lines.emplace_back("terminate hook");
          terminate = std::move(action);
        },
        [&](AppearancePreference appearance) {
          log.lines.push_back("appearance " + std::to_string(rawValue(appearance)));
        },
        [&] {
          log.lines.emplace_back("event loop");
          return 7;
        }};
    return runInputMethod(hooks, {bundle(), fonts, settings, log, store, userDictionary});
  }

  InMemoryPreferenceStore preferences;
  FakeFontSystem fonts;
  FakeResourceLocator settingsResources;
  YakdromSettings settings{preferences, fonts, settingsResources};
  DictionaryStore store{bundle(), log, explanations};
  UserDictionary userDictionary{folder / "user-dictionary.txt"};
  std::function<void()> terminate;
};

TEST_F(InputMethodStartupTest, StepsRunInOrderAndTheLoopStatusIsReturned) {
  settings.setAppearancePreference(AppearancePreference::dark);
  EXPECT_EQ(run(true), 7);
  EXPECT_EQ(log.lines,
            (std::vector<std::string>{
                "Yakdrom IME: 未找到 Yakdrom-SN.ttf",
                "Yakdrom IME: 未找到词库文件。Bundle.main=" + (folder / "bundle").string(),
                "server Yakdrom_IMK_Connection org.freedesktop.IBus.Yakdrom", "terminate hook",
                "appearance 2", "event loop"}));

  userDictionary.learn("བོད་");
  ASSERT_TRUE(terminate);
  terminate();
  EXPECT_EQ(readBytes(folder / "user-dictionary.txt"), "བོད་ 1\n");
}

TEST_F(InputMethodStartupTest, ServerFailureIsFatal) {
  EXPECT_EQ(run(false), 1);
  EXPECT_EQ(log.lines.back(),
            "Yakdrom IME: 致命错误 — 无法创建 IMKServer。请确认通过 .app bundle "
            "方式启动（不能直接运行裸二进制）。");
  EXPECT_EQ(log.lines.size(), 4U) << "nothing runs after the server";
  EXPECT_FALSE(terminate);
}

}  // namespace
}  // namespace yakdrom::testing
