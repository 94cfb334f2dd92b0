// What the tests of `yakdrom type`, `replay` and `pad` share: running a command in process
// and a tiny lexicon around བོད (Tibet) with Chinese and English explanations.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/lexicon/LexiconBuilder.h"
#include "engine/lexicon/LexiconTestSupport.h"
#include "engine/lexicon/LexiconWriter.h"
#include "frontends/CommandRun.h"

namespace yakdrom::cli::testing {

using yakdrom::testing::readAll;
using yakdrom::testing::TempDir;

// In lexicon order: the seven words that begin with བོད, then དུས་ and དུས་ཚོད་.
inline constexpr const char* kTinyWords =
    "བོད་\nབོད་པ་\nབོད་མི་\nབོད་ཡིག་\nབོད་རིགས་\nབོད་ལྗོངས་\nབོད་སྐད་\nདུས་\nདུས་ཚོད་\n";
inline constexpr const char* kTinyEnglish =
    "བོད་\tTibet\n"
    "བོད་ཡིག་\tTibetan script, the writing of the Tibetan language since the seventh century\n";
inline constexpr const char* kTinyChinese = "བོད་\t西藏\nདུས་\t时间\n";

/// Writes the tiny lexicon in packed form into `dir` and returns its path.
inline std::filesystem::path writeTinyLexicon(const TempDir& dir) {
  LexiconBuilder builder;
  builder.addWords(kTinyWords, "words");
  builder.addExplanations(LexiconBuilder::Language::english, kTinyEnglish, "english");
  builder.addExplanations(LexiconBuilder::Language::chinese, kTinyChinese, "chinese");
  EXPECT_TRUE(builder.issues().empty());
  const auto bytes = LexiconWriter::encode(builder.build(), LexiconForm::packed);
  EXPECT_TRUE(bytes.has_value());
  const auto path = dir / "tiny.dat";
  EXPECT_TRUE(LexiconWriter::write(path, bytes.value_or("")).ok());
  return path;
}

}  // namespace yakdrom::cli::testing
