// An allocator for the lexicon's large arrays that lets the kernel back them with 2 MiB
// pages, so filling one costs a few page faults instead of one per 4 KiB. Small requests
// go to the ordinary heap. Stateless; safe to use from any thread.
#pragma once

#include <cstddef>
#include <limits>
#include <new>

namespace yakdrom::detail {

/// Returns at least `bytes` bytes, aligned for any scalar type; throws std::bad_alloc.
[[nodiscard]] void* allocateLarge(std::size_t bytes);

/// Releases memory from allocateLarge; `bytes` must be the size it was asked for.
void deallocateLarge(void* block, std::size_t bytes) noexcept;

template <typename T>
class HugePageAllocator {
 public:
  using value_type = T;

  HugePageAllocator() = default;
  template <typename U>
  HugePageAllocator(const HugePageAllocator<U>&) noexcept {}

  /// Returns room for `n` values of T; throws std::bad_alloc.
  [[nodiscard]] T* allocate(std::size_t n) {
    if (n > std::numeric_limits<std::size_t>::max() / sizeof(T)) throw std::bad_array_new_length();
    return static_cast<T*>(allocateLarge(n * sizeof(T)));
  }

  /// Releases room for `n` values that allocate(n) returned.
  void deallocate(T* p, std::size_t n) noexcept { deallocateLarge(p, n * sizeof(T)); }

  template <typename U>
  bool operator==(const HugePageAllocator<U>&) const noexcept {
    return true;
  }
};

}  // namespace yakdrom::detail
