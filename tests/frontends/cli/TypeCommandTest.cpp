#include <gtest/gtest.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

#include "frontends/cli/Json.h"
#include "frontends/cli/SessionTestSupport.h"

namespace yakdrom::cli::testing {
namespace {

using Words = std::vector<std::string>;

const Words kBod = {"བོད་", "བོད་པ་", "བོད་མི་", "བོད་ཡིག་", "བོད་རིགས་", "བོད་ལྗོངས་", "བོད་སྐད་"};
const Words kBodWithParticles = {"བོད་ཀྱི་", "བོད་ཀྱིས་", "བོད་དུ་",   "བོད་",     "བོད་པ་",
                                 "བོད་མི་", "བོད་ཡིག་", "བོད་རིགས་", "བོད་ལྗོངས་", "བོད་སྐད་"};

// The field and the window as `type --json` reports them.
struct Shown {
  std::string document;
  std::string marked;
  Words candidates;
  std::string page;
  std::optional<std::size_t> selection;
  std::optional<std::string> explanation;

  [[nodiscard]] std::string json() const {
    return "{\"document\": " + jsonQuoted(document) + ", \"marked\": " + jsonQuoted(marked) +
           ", \"candidates\": " + jsonArray(candidates) + ", \"page\": " + jsonQuoted(page) +
           ", \"selection\": " + (selection ? std::to_string(*selection) : "null") +
           ", \"explanation\": " + jsonQuotedOrNull(explanation) +
           ", \"panelVisible\": " + (candidates.empty() ? "false" : "true") + "}\n";
  }
};

Shown hidden(std::string document, std::string marked) {
  return {std::move(document), std::move(marked), {}, "", std::nullopt, std::nullopt};
}

class TypeCommandTest : public ::testing::Test {
 protected:
  Outcome type(const std::string& keys, const Args& settings = {}, const Args& switches = {}) {
    Args args = {"type", "--lexicon", lexicon_.string()};
    for (const auto& setting : settings) args.insert(args.end(), {"--set", setting});
    args.insert(args.end(), switches.begin(), switches.end());
    args.push_back(keys);
    return run(args);
  }

  TempDir dir_;
  std::filesystem::path lexicon_ = writeTinyLexicon(dir_);
};

TEST_F(TypeCommandTest, PrintsTheDocumentFollowedByTheMarkedText) {
  const auto r = type("fcmrjxisjfdejleks'");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "བཀྲ་ཤིས་བདེ་ལེགས།\n");
  EXPECT_EQ(run({"type", "--lexicon", lexicon_.string(), "fc", "mr"}).out, "བཀྲ\n");
}

TEST_F(TypeCommandTest, JsonShowsTheCandidateWindowAsTheInputMethodDoes) {
  const std::string five = "Yakdrom.candidateCount=5";
  const std::string explain = "Yakdrom.showExplanation=true";
  const std::string english = "Yakdrom.explanationLanguage=3";
  struct Case {
    const char* what;
    std::string keys;
    Args settings;
    Shown shown;
  };
  const std::vector<Case> cases = {
      {"one page of ten", "fod", {}, {"", "བོད", kBod, "", 0, std::nullopt}},
      {"pages of five", "fod", {five}, {"", "བོད", kBod, "1/2", 0, std::nullopt}},
      {"the page follows the selection",
       "fod{down}{down}{down}{down}{down}",
       {five},
       {"", "བོད", kBod, "2/2", 5, std::nullopt}},
      {"up from the first wraps to the last", "fod{up}", {five}, {"", "བོད", kBod, "2/2", 6, {}}},
      {"a single row moves with right and left",
       "fod{right}{right}{left}",
       {"Yakdrom.panelStyle=3"},
       {"", "བོད", kBod, "", 1, std::nullopt}},
      {"a single row opens the explanation with down instead",
       "fod{down}",
       {"Yakdrom.panelStyle=3"},
       {"", "བོད", kBod, "", 0, std::nullopt}},
      {"a grid moves like a column",
       "fod{down}",
       {"Yakdrom.panelStyle=2"},
       {"", "བོད", kBod, "", 1, {}}},
      {"particle forms come first after a tsheg",
       "fodj",
       {},
       {"བོད་", "", kBodWithParticles, "", 0, std::nullopt}},
      {"a marked letter that fits no particle hides the window", "fodjc", {}, hidden("བོད་", "ཀ")},
      {"Escape hides the window and keeps the syllable", "fod{escape}", {}, hidden("", "བོད")},
      {"suggestions off", "fod", {"Yakdrom.suggestionEnabled=false"}, hidden("", "བོད")},
      {"a number confirms its row", "fod3", {}, {"བོད་མི་", "", {"བོད་མི་"}, "", 0, std::nullopt}},
      {"a number beyond the list is swallowed",
       "fod{up}3",
       {five},
       {"", "བོད", kBod, "2/2", 6, std::nullopt}},
      {"numbers count from the current page; the particles of the word follow",
       "fod{up}1",
       {five},
       {"བོད་ལྗོངས་", "", {"ལྗོངས་ཀྱི་", "ལྗོངས་ཀྱིས་", "ལྗོངས་སུ་", "བོད་ལྗོངས་"}, "", 0, std::nullopt}},
      {"Return confirms the selection, not a line break",
       "fod{down}{return}",
       {},
       {"བོད་པ་", "", {"བོད་པ་"}, "", 0, std::nullopt}},
      {"Space confirms the selection, not a space",
       "fod{down}{space}",
       {},
       {"བོད་པ་", "", {"བོད་པ་"}, "", 0, std::nullopt}},
      {"a confirmed particle inserts only the particle",
       "fodj2",
       {},
       {"བོད་ཀྱིས་", "", {"ཀྱིས་ཀྱི་", "ཀྱིས་ཀྱིས་", "ཀྱིས་སུ་", "བོད་ཀྱིས་"}, "", 0, std::nullopt}},
      {"a syllable after the context: its particle form, then words for it alone",
       "fodjdu",
       {},
       {"བོད་", "དུ", {"བོད་དུ་", "དུས་", "དུས་ཚོད་"}, "", 0, std::nullopt}},
      {"explanations are off by default", "fod", {english}, {"", "བོད", kBod, "", 0, {}}},
      {"the selected row's explanation",
       "fod",
       {explain, english},
       {"", "བོད", kBod, "", 0, "Tibet"}},
      {"Tibetan falls back to Chinese", "fod", {explain}, {"", "བོད", kBod, "", 0, "西藏"}},
      {"English falls back to Tibetan only",
       "du",
       {explain, english},
       {"", "དུ", {"དུས་", "དུས་ཚོད་"}, "", 0, {}}},
      {"Chinese",
       "du",
       {explain, "Yakdrom.explanationLanguage=2"},
       {"", "དུ", {"དུས་", "དུས་ཚོད་"}, "", 0, "时间"}},
      {"the explanation line of a single row",
       "fod{right}{right}{right}",
       {explain, english, "Yakdrom.panelStyle=3"},
       {"", "བོད", kBod, "", 3,
        "Tibetan script, the writing of the Tibetan language since the seventh century"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto r = type(c.keys, c.settings, {"--json"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.shown.json());
  }
}

TEST_F(TypeCommandTest, JsonKeepsItsFieldsInThisOrder) {
  EXPECT_EQ(type("du", {}, {"--json"}).out,
            "{\"document\": \"\", \"marked\": \"དུ\", \"candidates\": [\"དུས་\", \"དུས་ཚོད་\"], "
            "\"page\": \"\", \"selection\": 0, \"explanation\": null, \"panelVisible\": true}\n");
}

TEST_F(TypeCommandTest, TraceSaysWhatEveryKeyDid) {
  const auto r =
      type("fod{down}3{escape}{space}c{ctrl+c}{space}cc{delete}{delete}{delete}", {}, {"--trace"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "f\tmarked \"བ\"\n"
            "o\tmarked \"བོ\"\n"
            "d\tmarked \"བོད\"\n"
            "{down}\tconsumed\n"
            "3\tcandidate \"བོད་མི་\"\n"
            "{escape}\tconsumed\n"
            "{space}\tpassthrough\n"
            "c\tmarked \"ཀ\"\n"
            "{ctrl+c}\tpassthrough\n"
            "{space}\tcommitThenPassthrough \"ཀ\"\n"
            "c\tmarked \"ཀ\"\n"
            "c\tcommitThenMark \"ཀ\" \"ཀ\"\n"
            "{delete}\tmarked \"\"\n"
            "{delete}\tpassthrough\n"
            "{delete}\tpassthrough\n"
            "བོད་མི་ ཀ\n");
}

TEST_F(TypeCommandTest, PassedThroughKeysActOnTheField) {
  struct Case {
    const char* keys;
    const char* text;
  };
  const Case cases[] = {
      {"cij{delete}", "ཀི\n"},  // Delete removes the whole tsheg character
      {"cij{delete}{delete}", "\n"},
      {"c{return}{tab}x{return}", "ཀ\n\tཤ\n\n"},
      {"c{left}", "ཀ\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    EXPECT_EQ(type(c.keys).out, c.text);
  }
  // A Control or Command chord reaches neither the engine nor the candidate window.
  EXPECT_EQ(type("fod{ctrl+c}{cmd+1}{ctrl+down}", {}, {"--json"}).out,
            (Shown{"", "བོད", kBod, "", 0, std::nullopt}.json()));
}

TEST_F(TypeCommandTest, OnlyUnmodifiedWindowKeysGoToTheWindow) {
  struct Case {
    const char* key;
    bool toWindow;
  };
  // Shift and Option type: those keys reach the engine. Caps Lock, and the numeric-pad and
  // function flags that arrows carry, keep nothing from the window.
  const Case cases[] = {
      {"1", true},           {"{shift+1}", false}, {"{down}", true},   {"{opt+down}", false},
      {"{caps+down}", true}, {"{caps+2}", true},   {"{return}", true}, {"{shift+return}", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    const std::string out = type(std::string("fod") + c.key, {}, {"--trace"}).out;
    const std::string line = out.substr(out.find(std::string(c.key) + "\t"));
    const std::string what =
        line.substr(line.find('\t') + 1, line.find('\n') - line.find('\t') - 1);
    const bool taken = what == "consumed" || what.starts_with("candidate ");
    EXPECT_EQ(taken, c.toWindow) << what;
  }
}

TEST_F(TypeCommandTest, SettingsThatCannotBeStoredAreUsageErrors) {
  for (const char* bad : {"Yakdrom.candidateCount=5.5", "Yakdrom.nothing=1", "candidateCount"}) {
    SCOPED_TRACE(bad);
    const auto r = type("fod", {bad});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("--set"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("usage"), std::string::npos) << r.err;
  }
  EXPECT_EQ(run({"type", "--set"}).status, 2);
}

TEST_F(TypeCommandTest, OutOfRangeSettingsWarnAndTypeWithTheValueInUse) {
  const auto r = type("fod", {"Yakdrom.candidateCount=99", "Yakdrom.panelStyle=3"}, {"--json"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err,
            "yakdrom type: warning: Yakdrom.candidateCount=99 is out of range; the input method "
            "uses 10\n");
  EXPECT_EQ(r.out, (Shown{"", "བོད", kBod, "", 0, std::nullopt}.json()));
}

TEST_F(TypeCommandTest, NoKeysIsAUsageError) {
  for (const Args& args : {Args{"type", "--lexicon", lexicon_.string()},
                           Args{"type", "--lexicon", lexicon_.string(), "--json", ""}}) {
    SCOPED_TRACE(::testing::PrintToString(args));
    const auto r = run(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("usage: yakdrom type"), std::string::npos) << r.err;
  }
}

TEST_F(TypeCommandTest, UserDictionaryFileLearnsAndOffersLearntWordsFirst) {
  const auto file = dir_ / "user-dictionary.txt";
  const Args learn = {"type", "--lexicon", lexicon_.string(), "--user-dictionary", file.string()};
  // A confirmed candidate is learnt whole; a typed word only when the lexicon knows it.
  auto args = learn;
  args.push_back("fod{down}{down}{down}{space}dusjcj");
  ASSERT_EQ(run(args).status, 0);
  EXPECT_EQ(readAll(file), "དུས་ 1\nབོད་ཡིག་ 1\n");
  args = learn;
  args.insert(args.end(), {"--json", "fod"});
  const auto r = run(args);
  EXPECT_NE(r.out.find("\"candidates\": [\"བོད་ཡིག་\", \"བོད་\", \"བོད་པ་\""), std::string::npos)
      << r.out;
}

TEST_F(TypeCommandTest, WithoutAUserDictionaryFileNothingIsKept) {
  EXPECT_EQ(type("fod{down}{space}").status, 0);
  // A second run starts from a fresh dictionary again.
  EXPECT_EQ(type("fod", {}, {"--json"}).out, (Shown{"", "བོད", kBod, "", 0, std::nullopt}.json()));
}

TEST_F(TypeCommandTest, FailuresNameTheirCause) {
  const auto missing = run({"type", "--lexicon", (dir_ / "none.dat").string(), "fod"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_NE(missing.err.find("none.dat"), std::string::npos) << missing.err;
  const auto junk = dir_.write("junk.dat", "not a lexicon");
  EXPECT_EQ(run({"type", "--lexicon", junk.string(), "fod"}).status, 1);
  // A dictionary file that cannot be read is refused, never written over.
  std::filesystem::create_directory(dir_ / "folder.txt");
  EXPECT_EQ(run({"type", "--user-dictionary", (dir_ / "folder.txt").string(), "fod"}).status, 1);
  // Nor is a device replaced by a dictionary file.
  const auto device =
      run({"type", "--lexicon", lexicon_.string(), "--user-dictionary", "/dev/null", "fod{space}"});
  EXPECT_EQ(device.status, 1);
  EXPECT_EQ(device.err,
            "yakdrom type: cannot keep the user dictionary in /dev/null: it is a device, not a "
            "file\n");
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
}

TEST_F(TypeCommandTest, ADictionaryInAReadOnlyFolderNamesTheFolder) {
  if (::geteuid() == 0) GTEST_SKIP() << "every folder is writable for root";
  const auto folder = dir_ / "locked";
  std::filesystem::create_directory(folder);
  std::filesystem::permissions(
      folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  const auto r = run({"type", "--lexicon", lexicon_.string(), "--user-dictionary",
                      (folder / "words.txt").string(), "fod{space}"});
  std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(": Permission denied; the folder " + folder.string() + " is read-only\n"),
            std::string::npos)
      << r.err;
}

TEST_F(TypeCommandTest, BadKeysFailWithStatusTwoAndNothingOnStdout) {
  for (const char* keys : {"ab{nope}", "{opt+m", "x\u00E9"}) {
    SCOPED_TRACE(keys);
    const auto r = type(keys, {}, {"--json"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("position"), std::string::npos);
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1);  // one line
  }
}

TEST(CommandLine, UnknownCommandPrintsUsage) {
  const auto r = run({"frobnicate"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("usage"), std::string::npos);
  EXPECT_EQ(run({}).status, 2);
}

}  // namespace
}  // namespace yakdrom::cli::testing
