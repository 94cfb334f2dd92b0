#include <gtest/gtest.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>

#include <algorithm>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "engine/text/FailedPrefixes.h"
#include "engine/text/Text.h"

namespace yakdrom::text {
namespace {

TEST(Utf8, IllFormedSequencesBecomeOneReplacementEach) {
  EXPECT_EQ(decodeUtf8("a\xFF"
                       "b"),
            U"a\uFFFDb");
  EXPECT_EQ(decodeUtf8("\xE0\xBC"), U"\uFFFD");                  // truncated three-byte form
  EXPECT_EQ(decodeUtf8("\xED\xA0\x80"), U"\uFFFD\uFFFD\uFFFD");  // surrogate is ill-formed
  EXPECT_EQ(decodeUtf8("\xC0\xAF"), U"\uFFFD\uFFFD");            // overlong
  EXPECT_EQ(sanitizeUtf8("\xE0\xBD\x80\x80"), "\xE0\xBD\x80\xEF\xBF\xBD");
  EXPECT_EQ(encodeUtf8(U"\u0F40\U0001F600"), "\u0F40\U0001F600");
}

// The decoder, which replaces each ill-formed sequence, is the reference: a text is
// well-formed exactly when decoding and encoding it again gives it back. Every one- and
// two-byte text, and three- and four-byte texts around each boundary of the valid ranges.
TEST(Utf8, WellFormedExactlyWhenDecodingKeepsEveryByte) {
  const auto check = [](const std::string& s) {
    if (isWellFormedUtf8(s) != (encodeUtf8(decodeUtf8(s)) == s)) {
      ADD_FAILURE() << testing::PrintToString(s);
    }
  };
  const unsigned char edges[] = {0x00, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xFF};
  for (int a = 0; a < 256; ++a) {
    check(std::string(1, static_cast<char>(a)));
    for (int b = 0; b < 256; ++b) check({static_cast<char>(a), static_cast<char>(b)});
    if (a < 0xE0) continue;
    for (const unsigned char b : edges) {
      for (const unsigned char c : edges) {
        const std::string three{static_cast<char>(a), static_cast<char>(b), static_cast<char>(c)};
        check(three);
        for (const unsigned char d : edges) check(three + static_cast<char>(d));
      }
    }
  }
  EXPECT_TRUE(isWellFormedUtf8("\u0F40\u0FB1\u0F72\u0F0B\uFFFD\U0001F600"));
  EXPECT_FALSE(isWellFormedUtf8("\u0F40\xE0\xBD"));
}

TEST(Utf8, ScalarEndsAndRemoval) {
  std::string s = "\u0F66\u0F90";
  EXPECT_EQ(firstScalar(s), U'\u0F66');
  EXPECT_EQ(lastScalar(s), U'\u0F90');
  removeLastScalar(s);
  EXPECT_EQ(s, "\u0F66");
  removeLastScalar(s);
  removeLastScalar(s);
  EXPECT_EQ(s, "");
  EXPECT_EQ(firstScalar(""), 0U);
  EXPECT_EQ(scalarCount("\u0F40\u0FB1\u0F72a"), 4U);
}

TEST(Characters, BaseLetterWithSubjoinedAndVowelsIsOneCharacter) {
  EXPECT_EQ(characterCount("\u0F66\u0F90\u0FB1\u0F7C"), 1U);  // སྐྱོ
  EXPECT_EQ(characterCount("\u0F56\u0F66\u0F92\u0FB2\u0F74\u0F56\u0F66\u0F0B"), 5U);
  const auto cs = characters("\u0F40\u0F72\u0F0B");
  ASSERT_EQ(cs.size(), 2U);
  EXPECT_EQ(cs[0], "\u0F40\u0F72");
  EXPECT_TRUE(isSingleCharacter("\u0F72"));  // a lone vowel sign is a character of its own
  EXPECT_FALSE(isSingleCharacter(""));
  EXPECT_EQ(characterCount("e\u0301x"), 2U);  // outside the Tibetan block ICU decides
}

// One list refilled for text after text holds exactly the latest text's characters.
TEST(Characters, AReusedListHoldsOnlyTheLatestText) {
  const std::string_view kTexts[] = {"\u0F40\u0F72\u0F0Babc", "e\u0301x", "", "\u0F66\u0F90"};
  std::vector<std::string_view> reused{"stale"};
  for (const std::string_view text : kTexts) {
    SCOPED_TRACE(text);
    charactersInto(text, reused);
    EXPECT_EQ(reused, characters(text));
  }
}

TEST(Canonical, TibetanDecompositionsAndVowelOrderCompareEqual) {
  EXPECT_TRUE(canonicallyEqual("\u0F43", "\u0F42\u0FB7"));
  EXPECT_TRUE(canonicallyEqual("\u0F73", "\u0F71\u0F72"));
  // ◌ུ (class 132) and ◌ི (class 130) typed in either order are one text.
  EXPECT_TRUE(canonicallyEqual("\u0F40\u0F74\u0F72", "\u0F40\u0F72\u0F74"));
  EXPECT_FALSE(canonicallyEqual("\u0F40", "\u0F41"));
  EXPECT_EQ(nfd("\u0F43"), "\u0F42\u0FB7");
  EXPECT_EQ(nfc("\u0F42\u0FB7"), "\u0F42\u0FB7");  // U+0F43 is excluded from composition
}

TEST(LexiconOrder, ScalarOrderAfterNfcWithProperPrefixFirst) {
  EXPECT_LT(compareLexicon("\u0F40", "\u0F40\u0F0B"), 0);
  EXPECT_LT(compareLexicon("\u0F40\u0F0B", "\u0F40\u0F40"), 0);
  EXPECT_EQ(compareLexicon("\u0F43", "\u0F42\u0FB7"), 0);
  EXPECT_EQ(compareLexicon("\u0F40\u0F74\u0F72", "\u0F40\u0F72\u0F74"), 0);
  // Byte order of the raw forms would put these the other way round.
  EXPECT_TRUE(lexiconLess("\u0F40\u0F72\u0F74", "\u0F40\u0F74"));
  EXPECT_FALSE(lexiconLess("\u0F40", "\u0F40"));
}

TEST(CharacterPrefix, BareLetterDoesNotMatchALetterCarryingMore) {
  EXPECT_TRUE(hasCharacterPrefix("\u0F40\u0F0B", "\u0F40"));
  EXPECT_TRUE(hasCharacterPrefix("\u0F40\u0F40", "\u0F40"));
  EXPECT_FALSE(hasCharacterPrefix("\u0F40\u0FB1\u0F72", "\u0F40"));  // ཀྱི
  EXPECT_FALSE(hasCharacterPrefix("\u0F40\u0F72", "\u0F40"));
  EXPECT_TRUE(hasCharacterPrefix("\u0F40\u0F72\u0F0B", "\u0F40\u0F72"));
  EXPECT_TRUE(hasCharacterPrefix("\u0F42\u0FB7\u0F0B", "\u0F43"));
  EXPECT_TRUE(hasCharacterPrefix("\u0F40\u0F74\u0F72\u0F0B", "\u0F40\u0F72\u0F74"));
  EXPECT_FALSE(hasCharacterPrefix("\u0F40", "\u0F40\u0F0B"));
  EXPECT_TRUE(hasCharacterPrefix("anything", ""));
}

TEST(Whitespace, TwoSetsAndTrimming) {
  EXPECT_TRUE(isWhitespace(U'\u3000'));
  EXPECT_TRUE(isWhitespace(U'\t'));
  EXPECT_FALSE(isWhitespace(U'\n'));
  EXPECT_TRUE(isWhitespaceOrNewline(U'\u2028'));
  EXPECT_TRUE(isWhitespaceOrNewline(U'\u0085'));
  EXPECT_EQ(trimWhitespace("\u00A0 \t\u0F40 \u0F41\u3000"), "\u0F40 \u0F41");
  EXPECT_EQ(trimWhitespace("\n\u0F40\n"), "\n\u0F40\n");
  EXPECT_EQ(trimWhitespaceAndNewlines("\r\n \u0F40\u2029"), "\u0F40");
  EXPECT_EQ(trimWhitespace(" \t "), "");
  EXPECT_EQ(removeWhitespace("a b\u3000,c\td"), "ab,cd");
}

TEST(Lines, LfCrLfAndALoneCrEndALine) {
  using Lines = std::vector<std::string_view>;
  const struct {
    const char* text;
    Lines lines;
  } cases[] = {
      {"a\nb\n\nc", {"a", "b", "", "c"}},
      {"a\r\nb\r\n\r\nc", {"a", "b", "", "c"}},
      {"a\rb\r\rc", {"a", "b", "", "c"}},
      {"a\rb\r\nc\nd\n\re", {"a", "b", "c", "d", "", "e"}},
      {"a\n\r", {"a", ""}},  // LF then a lone CR, not one CR LF
      {"a\r", {"a"}},
      {"a\r\n", {"a"}},
      {"\r", {""}},
      {"", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(std::string(c.text)));
    EXPECT_EQ(splitLines(c.text), c.lines);
  }
}

// ICU is the reference: wherever the quick test can answer (ASCII, assigned Tibetan scalars
// without a decomposition), it must call a text NFC exactly when ICU does, and it must never
// call anything else NFC.
class PlainNfc : public ::testing::Test {
 protected:
  static std::string utf8(std::u32string_view scalars) { return encodeUtf8(scalars); }

  [[nodiscard]] bool answerable(char32_t c) const {
    icu::UnicodeString decomposition;
    const auto scalar = static_cast<UChar32>(c);
    return c < 0x80 || (c >= 0x0F00 && c <= 0x0FFF && u_charType(scalar) != U_UNASSIGNED &&
                        !icuNfc_.getDecomposition(scalar, decomposition));
  }

  void check(std::u32string_view scalars) const {
    const std::string s = utf8(scalars);
    const bool inReach =
        std::all_of(scalars.begin(), scalars.end(), [this](char32_t c) { return answerable(c); });
    if (isPlainNfc(s) != (inReach && nfc(s) == s)) ADD_FAILURE() << testing::PrintToString(s);
  }

  UErrorCode status_ = U_ZERO_ERROR;
  const icu::Normalizer2& icuNfc_ = *icu::Normalizer2::getNFCInstance(status_);
};

TEST_F(PlainNfc, AgreesWithIcuOnEveryPairOfTibetanScalars) {
  std::u32string alphabet = U"a ~\u00E9\u0300\u1100\u1161";
  for (char32_t c = 0x0F00; c <= 0x0FFF; ++c) alphabet.push_back(c);
  for (const char32_t a : alphabet) {
    check(std::u32string(1, a));
    for (const char32_t b : alphabet) check(std::u32string{a, b});
  }
}

TEST_F(PlainNfc, AgreesWithIcuOnRandomTibetanRuns) {
  std::mt19937 rng(11);
  // Mostly letters and the combining marks, whose order is what the test must get right.
  const std::u32string marks =
      U"\u0F18\u0F35\u0F37\u0F39\u0F71\u0F72\u0F74\u0F7A\u0F80\u0F82\u0F84\u0F86\u0FC6\u0F90\u0FB1";
  std::uniform_int_distribution<int> block(0x0F00, 0x0FFF);
  for (int round = 0; round < 5000; ++round) {
    std::u32string s;
    for (int k = 0; k < 6; ++k) {
      s.push_back(rng() % 2 == 0 ? marks[rng() % marks.size()] : static_cast<char32_t>(block(rng)));
    }
    check(s);
  }
}

TEST_F(PlainNfc, IllFormedOrCutBytesAreLeftToIcu) {
  EXPECT_TRUE(isPlainNfc(""));
  EXPECT_TRUE(isPlainNfc("\u0F56\u0F7C\u0F51\u0F0B 12\r\n"));
  for (const char* bytes : {"\u0F40\xE0\xBD", "\u0F40\xE0", "\xE0\xBD\x40", "\xBD\x80", "\xFF"}) {
    SCOPED_TRACE(testing::PrintToString(std::string(bytes)));
    EXPECT_FALSE(isPlainNfc(bytes));
  }
}

// The view is the text itself only when it is plain NFC; anything else is normalised, and
// ill-formed bytes are replaced first.
TEST_F(PlainNfc, WellFormedNfcSharesPlainTextAndNormalisesTheRest) {
  const struct {
    const char* text;
    const char* form;
    bool shared;
  } kCases[] = {
      {"\u0F40\u0F72 a", "\u0F40\u0F72 a", true},
      {"\u0F40\u0F74\u0F71", "\u0F40\u0F71\u0F74", false},  // marks out of order
      {"\u0F73", "\u0F71\u0F72", false},                    // a decomposing vowel sign
      {"e\u0301", "\u00E9", false},
      {"\u0F40\xFF", "\u0F40\uFFFD", false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    const std::string_view text = c.text;
    std::string room;
    const std::string_view form = wellFormedNfc(text, room);
    EXPECT_EQ(form, c.form);
    EXPECT_EQ(form.data() == text.data(), c.shared);
  }
}

// A query that found nothing rules out only what normalises to a text beginning with it.
TEST(FailedPrefixesTest, RuleOutOnlyExtensionsThatKeepTheirStartNormalised) {
  const struct {
    const char* text;
    const char* start;
    bool extends;
  } cases[] = {
      {"\u0F56\u0F7C\u0F51", "\u0F56\u0F7C", true},  // a letter starts afresh
      {"\u0F56\u0F7C", "\u0F56\u0F7C", true},
      {"e\u0301", "e", false},                        // composes with the end
      {"\u0F40\u0F71", "\u0F40", false},              // a vowel sign joins its letter
      {"\u0F40\u0F72\u0F71", "\u0F40\u0F72", false},  // and reorders with another
      {"\u0F40", "\u0F41", false},
      {"\u0F40", "\u0F40\u0F0B", false},
      {"\xE0\xBD\x80", "\xE0\xBD", false},  // a cut inside a sequence
      {"\xE0\xBD"
       "a",
       "\xE0\xBD", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(extendsNormalized(c.text, c.start), c.extends);
  }

  FailedPrefixes failed;
  EXPECT_FALSE(failed.rulesOut("\u0F40", 1));
  failed.note("\u0F40\u0F0B\u0F41", 1);
  failed.note("\u0F42", 1);
  EXPECT_TRUE(failed.rulesOut("\u0F40\u0F0B\u0F41\u0F0B", 1));
  EXPECT_TRUE(failed.rulesOut("\u0F42\u0F44", 1));
  EXPECT_FALSE(failed.rulesOut("\u0F42\u0F44", 2));  // the list has changed since
  failed.note("\u0F44", 1);                          // forgets the oldest
  EXPECT_FALSE(failed.rulesOut("\u0F40\u0F0B\u0F41\u0F0B", 1));
  EXPECT_TRUE(failed.rulesOut("\u0F42", 1));
}

}  // namespace
}  // namespace yakdrom::text
