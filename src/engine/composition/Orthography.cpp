#include "engine/composition/Orthography.h"

#include <array>
#include <initializer_list>
#include <span>

#include "engine/composition/CanonicalIndex.h"
#include "engine/composition/Letters.h"
#include "engine/text/Text.h"

namespace yakdrom::Orthography {
namespace {

CharacterSet makeSet(std::initializer_list<char32_t> scalars) {
  std::vector<std::string> members;
  members.reserve(scalars.size());
  for (char32_t c : scalars) {
    std::string s;
    text::appendUtf8(s, c);
    members.push_back(std::move(s));
  }
  return CharacterSet(std::move(members));
}

// A head or foot letter and the roots it combines with.
struct StackRule {
  std::string_view letter;
  const CharacterSet& (*roots)();
};

bool rootAllowed(std::span<const StackRule> rules, std::string_view letter, std::string_view root) {
  for (const StackRule& rule : rules) {
    if (detail::sameCharacter(letter, rule.letter)) return rule.roots().contains(root);
  }
  return false;
}

}  // namespace

const CharacterSet& consonants() {
  static const CharacterSet set =
      makeSet({0x0F40, 0x0F41, 0x0F42, 0x0F44, 0x0F45, 0x0F46, 0x0F47, 0x0F49, 0x0F4A,
               0x0F4B, 0x0F4C, 0x0F4E, 0x0F4F, 0x0F50, 0x0F51, 0x0F53, 0x0F54, 0x0F55,
               0x0F56, 0x0F58, 0x0F59, 0x0F5A, 0x0F5B, 0x0F5D, 0x0F5E, 0x0F5F, 0x0F60,
               0x0F61, 0x0F62, 0x0F63, 0x0F64, 0x0F66, 0x0F67, 0x0F68});
  return set;
}

const CharacterSet& vowels() {
  static const CharacterSet set = makeSet({0x0F71, 0x0F72, 0x0F74, 0x0F7A, 0x0F7C});
  return set;
}

const CharacterSet& prefixes() {
  static const CharacterSet set = makeSet({0x0F42, 0x0F51, 0x0F56, 0x0F58, 0x0F60});
  return set;
}

const CharacterSet& superscripts() {
  static const CharacterSet set = makeSet({0x0F62, 0x0F63, 0x0F66});
  return set;
}

const CharacterSet& subjoinable() {
  static const CharacterSet set = makeSet({0x0F61, 0x0F62, 0x0F63, 0x0F5D});
  return set;
}

const CharacterSet& suffixes() {
  static const CharacterSet set =
      makeSet({0x0F42, 0x0F44, 0x0F51, 0x0F53, 0x0F56, 0x0F58, 0x0F62, 0x0F63, 0x0F66});
  return set;
}

const CharacterSet& postsuffixAfter() {
  static const CharacterSet set = makeSet({0x0F42, 0x0F51, 0x0F56, 0x0F66});
  return set;
}

const CharacterSet& raGoRoots() {
  static const CharacterSet set = makeSet({0x0F40, 0x0F42, 0x0F44, 0x0F47, 0x0F49, 0x0F4F, 0x0F51,
                                           0x0F53, 0x0F56, 0x0F58, 0x0F59, 0x0F5B, 0x0F5D});
  return set;
}

const CharacterSet& laGoRoots() {
  static const CharacterSet set =
      makeSet({0x0F40, 0x0F42, 0x0F44, 0x0F45, 0x0F47, 0x0F4F, 0x0F51, 0x0F54, 0x0F56, 0x0F5D});
  return set;
}

const CharacterSet& saGoRoots() {
  static const CharacterSet set = makeSet({0x0F40, 0x0F42, 0x0F44, 0x0F49, 0x0F4F, 0x0F51, 0x0F53,
                                           0x0F54, 0x0F56, 0x0F58, 0x0F59, 0x0F5D});
  return set;
}

const CharacterSet& yaRoots() {
  static const CharacterSet set =
      makeSet({0x0F40, 0x0F41, 0x0F42, 0x0F49, 0x0F54, 0x0F55, 0x0F56, 0x0F58, 0x0F67, 0x0F60});
  return set;
}

const CharacterSet& raRoots() {
  static const CharacterSet set =
      makeSet({0x0F40, 0x0F41, 0x0F42, 0x0F44, 0x0F45, 0x0F46, 0x0F47, 0x0F49, 0x0F4F, 0x0F50,
               0x0F51, 0x0F53, 0x0F54, 0x0F55, 0x0F56, 0x0F58, 0x0F67, 0x0F60});
  return set;
}

const CharacterSet& laRoots() {
  static const CharacterSet set = makeSet({0x0F40, 0x0F42, 0x0F56, 0x0F5B, 0x0F62});
  return set;
}

const CharacterSet& waRoots() {
  static const CharacterSet set = makeSet(
      {0x0F40, 0x0F41, 0x0F42, 0x0F45, 0x0F49, 0x0F4F, 0x0F51, 0x0F5E, 0x0F5F, 0x0F64, 0x0F67});
  return set;
}

bool canStack(std::string_view superscript, std::string_view root) {
  static const std::array<StackRule, 3> kHeads{{{detail::letters::kRa, raGoRoots},
                                                {detail::letters::kLa, laGoRoots},
                                                {detail::letters::kSa, saGoRoots}}};
  return rootAllowed(kHeads, superscript, root);
}

bool canSubjoin(std::string_view root, std::string_view sub) {
  static const std::array<StackRule, 4> kFeet{{{detail::letters::kYa, yaRoots},
                                               {detail::letters::kRa, raRoots},
                                               {detail::letters::kLa, laRoots},
                                               {detail::letters::kWa, waRoots}}};
  return rootAllowed(kFeet, sub, root);
}

bool isTibetanDigit(std::string_view character) {
  return !character.empty() && detail::letters::isDigitScalar(text::firstScalar(character));
}

}  // namespace yakdrom::Orthography
