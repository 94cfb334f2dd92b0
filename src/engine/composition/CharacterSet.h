// A constant set of characters whose membership test is canonical equivalence, with a
// table path for single ASCII and Tibetan scalars so the engine's per-key tests stay cheap.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/composition/CanonicalIndex.h"

namespace yakdrom {

class CharacterSet {
 public:
  /// Builds the set from `members`, one character each, in the order given.
  explicit CharacterSet(std::vector<std::string> members);

  /// Returns true when a member is canonically equivalent to `character`.
  [[nodiscard]] bool contains(std::string_view character) const;

  /// Returns the members in the order they were given.
  [[nodiscard]] const std::vector<std::string>& members() const { return members_; }

  /// Returns the number of members.
  [[nodiscard]] std::size_t size() const { return members_.size(); }

 private:
  std::vector<std::string> members_;
  detail::CanonicalIndex index_;
};

}  // namespace yakdrom
