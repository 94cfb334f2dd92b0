#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "engine/lexicon/HugePageAllocator.h"

namespace yakdrom::detail {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

// Only an aligned 2 MiB span can be backed by a huge page; a block of several must start on
// such a boundary, or the kernel gives it small pages whatever the advice says.
TEST(HugePageAllocatorTest, BlocksOfEverySizeAreWholeAndLargeOnesStartOnAHugePage) {
  HugePageAllocator<char> allocator;
  for (const std::size_t bytes :
       {std::size_t{1}, std::size_t{4096}, std::size_t{300} << 10, kHugePage, 3 * kHugePage + 1}) {
    SCOPED_TRACE(bytes);
    char* block = allocator.allocate(bytes);
    ASSERT_NE(block, nullptr);
    std::memset(block, 0x5A, bytes);
    EXPECT_EQ(block[bytes - 1], 0x5A);
    if (bytes >= kHugePage) {
      EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % kHugePage, 0u);
    }
    allocator.deallocate(block, bytes);
  }
}

}  // namespace
}  // namespace yakdrom::detail
