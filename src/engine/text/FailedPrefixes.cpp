#include "engine/text/FailedPrefixes.h"

#include <algorithm>

#include "engine/text/Text.h"

namespace yakdrom::text {

bool FailedPrefixes::rulesOut(std::string_view prefix, std::uint64_t version) const {
  return std::any_of(noted_.begin(), noted_.end(), [&](const Noted& n) {
    return n.used && n.version == version && extendsNormalized(prefix, n.prefix);
  });
}

void FailedPrefixes::note(std::string_view prefix, std::uint64_t version) {
  Noted& slot = noted_[next_];
  slot.prefix.assign(prefix);
  slot.version = version;
  slot.used = true;
  next_ = (next_ + 1) % noted_.size();
}

}  // namespace yakdrom::text
