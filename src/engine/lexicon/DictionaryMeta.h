// Size figures of the lexicon the input method was designed around. Nothing consults them
// at run time; they document the scale the word list and its search are built for.
#pragma once

namespace yakdrom {

struct DictionaryMeta {
  static constexpr int kWordCount = 182025;
  static constexpr int kMaxWordLength = 196;
};

}  // namespace yakdrom
