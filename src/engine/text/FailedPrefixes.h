// The last prefixes whose NFC form began no word of a sorted list, so that a query that
// extends one of them is answered at once, without normalising or searching. The committed
// context is part of every query, so most keys ask for a long prefix that began nothing a
// key ago, and then for the syllable after its last separator: two are kept. Not
// thread-safe: the list it serves guards it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace yakdrom::text {

class FailedPrefixes {
 public:
  /// Returns true when a prefix noted for the list's `version` shows that nothing begins
  /// with `prefix`.
  [[nodiscard]] bool rulesOut(std::string_view prefix, std::uint64_t version) const;

  /// Notes that nothing in the list's `version` begins with the NFC form of `prefix`,
  /// forgetting the prefix noted longest ago.
  void note(std::string_view prefix, std::uint64_t version);

 private:
  struct Noted {
    std::string prefix;
    std::uint64_t version = 0;
    bool used = false;
  };

  std::array<Noted, 2> noted_;
  std::size_t next_ = 0;
};

}  // namespace yakdrom::text
