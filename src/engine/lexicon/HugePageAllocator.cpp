#include "engine/lexicon/HugePageAllocator.h"

#include <sys/mman.h>

#include <cstdint>

namespace yakdrom::detail {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

// A fresh 4 KiB page costs a fault (slow under virtualisation), a huge page one fault and
// the zeroing of 2 MiB. From a quarter MiB on the huge page wins; below that it would
// mostly hold nothing.
constexpr std::size_t kSmallestMapped = std::size_t{256} << 10;

bool isMapped(std::size_t bytes) { return bytes >= kSmallestMapped; }

// Whole huge pages, so the last one lies inside the mapping too.
std::size_t mappedLength(std::size_t bytes) {
  return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

}  // namespace

void* allocateLarge(std::size_t bytes) {
  if (!isMapped(bytes)) return ::operator new(bytes);
  if (bytes > std::numeric_limits<std::size_t>::max() - 2 * kHugePage) throw std::bad_alloc();
  const std::size_t length = mappedLength(bytes);
  // Only a 2 MiB span that starts on a 2 MiB boundary can become a huge page: map one huge
  // page more than needed and give back the ends around the aligned part.
  void* raw =
      mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) throw std::bad_alloc();
  char* const start = static_cast<char*>(raw);
  const std::size_t head =
      (kHugePage - reinterpret_cast<std::uintptr_t>(start) % kHugePage) % kHugePage;
  char* const block = start + head;
  if (head > 0) munmap(start, head);
  if (head < kHugePage) munmap(block + length, kHugePage - head);
#ifdef MADV_HUGEPAGE
  // Without transparent huge pages the advice fails and the block keeps small pages.
  (void)madvise(block, length, MADV_HUGEPAGE);
#endif
  return block;
}

void deallocateLarge(void* block, std::size_t bytes) noexcept {
  if (block == nullptr) return;
  if (!isMapped(bytes)) {
    ::operator delete(block);
    return;
  }
  munmap(block, mappedLength(bytes));
}

}  // namespace yakdrom::detail
