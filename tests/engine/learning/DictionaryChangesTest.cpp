#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

#include "engine/learning/DictionaryChanges.h"

namespace yakdrom {
namespace {

constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max();

using Operation = std::function<void(DictionaryChanges&)>;

UserWords onDisk(std::int64_t freq) { return freq > 0 ? UserWords{{"ཀ", freq}} : UserWords{}; }

std::int64_t freqAfter(const DictionaryChanges& changes, std::int64_t freq) {
  UserWords words = onDisk(freq);
  changes.applyTo(words);
  const UserWord* word = words.find("ཀ");
  return word != nullptr ? word->freq : 0;
}

// Operations on one word fold into one change; whether they are recorded together, or
// split into earlier changes given back after a failed write and later ones, the file ends
// as if each had been applied to it in turn.
TEST(DictionaryChanges, FoldedOperationsActAsAppliedOneByOne) {
  const Operation add2 = [](DictionaryChanges& c) { c.add("ཀ", 2); };
  const Operation addMost = [](DictionaryChanges& c) { c.add("ཀ", kLargest); };
  const Operation raiseTo5 = [](DictionaryChanges& c) { c.raiseTo("ཀ", 5); };
  const Operation set3 = [](DictionaryChanges& c) { c.set("ཀ", 3); };
  const Operation remove = [](DictionaryChanges& c) { c.remove("ཀ"); };
  const std::vector<std::vector<Operation>> sequences = {{add2, raiseTo5},
                                                         {raiseTo5, add2},
                                                         {add2, add2, raiseTo5, add2},
                                                         {set3, add2},
                                                         {add2, set3},
                                                         {remove, add2},
                                                         {remove, raiseTo5, add2},
                                                         {add2, remove},
                                                         {set3, raiseTo5, remove, raiseTo5},
                                                         {addMost, add2},
                                                         {raiseTo5, addMost},
                                                         {add2, raiseTo5, raiseTo5, set3, add2}};
  for (std::size_t s = 0; s < sequences.size(); ++s) {
    const auto& operations = sequences[s];
    for (const std::int64_t disk : {std::int64_t{0}, std::int64_t{1}, std::int64_t{4}, kLargest}) {
      std::int64_t expected = disk;
      for (const Operation& operation : operations) {
        DictionaryChanges one;
        operation(one);
        expected = freqAfter(one, expected);
      }
      for (std::size_t split = 0; split <= operations.size(); ++split) {
        SCOPED_TRACE(::testing::Message()
                     << "sequence " << s << " disk " << disk << " split " << split);
        DictionaryChanges earlier;
        DictionaryChanges later;
        for (std::size_t k = 0; k < operations.size(); ++k) {
          operations[k](k < split ? earlier : later);
        }
        later.followOn(earlier);
        EXPECT_EQ(freqAfter(later, disk), expected);
      }
    }
  }
}

TEST(DictionaryChanges, DifferenceTouchesOnlyWhatChanged) {
  const UserWords before{{"ཀ", 3}, {"ཁ", 2}, {"ག", 1}};
  const UserWords after{{"ཀ", 7}, {"ག", 1}, {"ང", 4}};
  DictionaryChanges changes;
  changes.recordDifference(before, after);
  // Another program meanwhile raised ག and learnt ཅ; both stay as it left them.
  UserWords words{{"ཀ", 3}, {"ཁ", 2}, {"ག", 9}, {"ཅ", 1}};
  changes.applyTo(words);
  EXPECT_EQ(words, (UserWords{{"ཀ", 7}, {"ག", 9}, {"ང", 4}, {"ཅ", 1}}));
}

}  // namespace
}  // namespace yakdrom
