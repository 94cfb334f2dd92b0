#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/store/InMemoryPreferenceStore.h"

namespace yakdrom {
namespace {

TEST(InMemoryPreferenceStore, ReadersConvertBetweenNumberTypes) {
  InMemoryPreferenceStore store;
  store.setInteger("i", 7);
  store.setReal("d", -2.9);
  store.setReal("huge", 1e300);
  store.setBoolean("b", true);
  store.setString("s", "7");
  store.setIntegerMap("m", {{"a", 1}});

  EXPECT_EQ(store.integer("i"), 7);
  EXPECT_EQ(store.integer("d"), -2);  // truncated toward zero
  EXPECT_EQ(store.integer("huge"), std::nullopt);
  EXPECT_EQ(store.integer("b"), 1);
  EXPECT_EQ(store.integer("s"), std::nullopt);
  EXPECT_EQ(store.integer("m"), std::nullopt);
  EXPECT_EQ(store.real("i"), 7.0);
  EXPECT_EQ(store.real("s"), std::nullopt);
  EXPECT_EQ(store.boolean("d"), true);
  EXPECT_EQ(store.boolean("s"), std::nullopt);
  EXPECT_EQ(store.string("s"), "7");
  EXPECT_EQ(store.string("i"), std::nullopt);
  EXPECT_EQ(store.integerMap("m"), (IntegerMap{{"a", 1}}));
  EXPECT_EQ(store.integerMap("i"), std::nullopt);
  EXPECT_EQ(store.integer("absent"), std::nullopt);
}

TEST(InMemoryPreferenceStore, SettersReplaceAndRemoveForgets) {
  InMemoryPreferenceStore store;
  store.setInteger("k", 1);
  store.setString("k", "now a string");
  EXPECT_EQ(store.integer("k"), std::nullopt);
  EXPECT_TRUE(store.contains("k"));
  store.remove("k");
  store.remove("never-there");
  EXPECT_FALSE(store.contains("k"));
  EXPECT_EQ(store.string("k"), std::nullopt);
}

// The shared store is process-wide state, so each scenario runs in a fresh child process.
TEST(SharedPreferenceStore, InstalledStoreServesEveryoneAndFirstReadFixesTheDefault) {
  EXPECT_EXIT(
      {
        auto mine = std::make_shared<InMemoryPreferenceStore>();
        const bool installed = PreferenceStore::installShared(mine);
        const bool again =
            PreferenceStore::installShared(std::make_shared<InMemoryPreferenceStore>());
        std::exit(installed && !again && PreferenceStore::shared() == mine ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EXIT(
      {
        const auto first = PreferenceStore::shared();
        first->setInteger("k", 3);
        const bool installed =
            PreferenceStore::installShared(std::make_shared<InMemoryPreferenceStore>());
        const bool nothing = PreferenceStore::installShared(nullptr);
        std::exit(!installed && !nothing && PreferenceStore::shared()->integer("k") == 3 ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace yakdrom
