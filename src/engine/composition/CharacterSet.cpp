#include "engine/composition/CharacterSet.h"

#include <utility>

namespace yakdrom {

CharacterSet::CharacterSet(std::vector<std::string> members)
    : members_(std::move(members)), index_(members_) {}

bool CharacterSet::contains(std::string_view character) const {
  return index_.find(character).has_value();
}

}  // namespace yakdrom
