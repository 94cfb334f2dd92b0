#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "engine/learning/ParticleEngine.h"

namespace yakdrom {
namespace {

using Kind = ParticleEngine::Kind;
using Form = std::optional<std::string>;

TEST(ParticleEngine, FormsFollowTheLastLetterOfThePreviousWord) {
  struct Case {
    const char* previous;
    Form genitive, ergative, dative;
  };
  const Case cases[] = {
      {"བོད་", "ཀྱི", "ཀྱིས", "དུ"},
      {"ཡིག་", "ཀྱི", "ཀྱིས", "ཏུ"},
      {"མིང་", std::nullopt, std::nullopt, "དུ"},
      {"ཡིན", "གྱི", "གྱིས", "དུ"},
      {"ཐབ", "ཀྱི", "ཀྱིས", "ཏུ"},
      {"མིམ་", "གྱི", "གྱིས", "དུ"},
      {"ལ་", "གྱི", "གྱིས", "དུ"},
      {"བོས་", "ཀྱི", "ཀྱིས", "སུ"},
      {"སྐྲ་", "གྱི", "གྱིས", "དུ"},                              // subjoined ར counts as ར
      {"བཀྲ་ཤིས༌", "ཀྱི", "ཀྱིས", "སུ"},                          // non-breaking tsheg skipped too
      {"བུ་", std::nullopt, std::nullopt, std::nullopt},    // ends in a vowel sign
      {"དགའ་", std::nullopt, std::nullopt, std::nullopt},  // འ takes none
      {"ཀཿ", std::nullopt, std::nullopt, std::nullopt},    // ཀ takes none
      {"བོས།", std::nullopt, std::nullopt, std::nullopt},   // a shad is no mark to skip
      {"་", std::nullopt, std::nullopt, std::nullopt},
      {"", std::nullopt, std::nullopt, std::nullopt},
      {"dog", std::nullopt, std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.previous);
    EXPECT_EQ(ParticleEngine::particle(Kind::genitive, c.previous), c.genitive);
    EXPECT_EQ(ParticleEngine::particle(Kind::ergative, c.previous), c.ergative);
    EXPECT_EQ(ParticleEngine::particle(Kind::dative, c.previous), c.dative);
  }
}

TEST(ParticleEngine, SuffixIsALetterAfterTheLastVowelSign) {
  struct Case {
    const char* word;
    bool hasSuffix;
    std::optional<char32_t> lastLetter;
  };
  const Case cases[] = {
      {"བོད་", true, U'\u0F51'},   {"བུ་", false, U'\u0F56'},    {"བུ", false, U'\u0F56'},
      {"ལ", true, U'\u0F63'},     {"ཀྱ་", true, U'\u0F61'},     {"ཀཾ", true, U'\u0F40'},
      {"བོད་ཀི", false, U'\u0F40'}, {"༌་", false, std::nullopt}, {"", false, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.word);
    EXPECT_EQ(ParticleEngine::hasSuffix(c.word), c.hasSuffix);
    EXPECT_EQ(ParticleEngine::lastLetter(c.word), c.lastLetter);
  }
}

TEST(ParticleEngine, IsParticleMeansExactlyOneOfTheSevenForms) {
  for (const char* form : {"ཀྱི", "གྱི", "ཀྱིས", "གྱིས", "སུ", "ཏུ", "དུ"}) {
    EXPECT_TRUE(ParticleEngine::isParticle(form)) << form;
  }
  for (const char* other : {"ཀྱི་", " ཀྱི", "ཀྱ", "ཀི", "ལ", ""}) {
    EXPECT_FALSE(ParticleEngine::isParticle(other)) << other;
  }
}

TEST(ParticleEngine, KindsRoundTripTheirRawValues) {
  for (const Kind k : ParticleEngine::kAllKinds) {
    EXPECT_EQ(ParticleEngine::kind(ParticleEngine::rawValue(k)), k);
  }
  EXPECT_EQ(ParticleEngine::kind("Genitive"), std::nullopt);
  EXPECT_EQ(ParticleEngine::kind(""), std::nullopt);
}

}  // namespace
}  // namespace yakdrom
