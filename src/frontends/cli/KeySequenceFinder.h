// Answers "how do I type this?": finds a short key sequence that, typed into a fresh state,
// produces a given text, and proves it by typing it through the engine.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frontends/cli/KeyNotation.h"

namespace yakdrom::cli {

class KeySequenceFinder {
 public:
  struct Result {
    std::vector<KeyPress> keys;
    std::optional<std::string> error;  // which character, at which position, could not be typed
  };

  /// Returns the shortest natural key sequence whose typed text (document followed by
  /// marked text) is canonically equal to `text`, or an error naming what cannot be typed
  /// and where, counting user-perceived characters of the whole text from 1.
  /// Segments between separators are remembered, so repeated calls get cheaper.
  [[nodiscard]] Result find(std::string_view text);

 private:
  struct Search;
  // The keys for one segment, or, when it cannot be typed, the index of the first scalar
  // the search could not get past.
  struct Segment {
    std::optional<std::vector<KeyPress>> keys;
    std::size_t stuckAt = 0;
  };
  [[nodiscard]] const Segment& findSegment(const std::u32string& segment);

  std::map<std::u32string, Segment> cache_;
};

}  // namespace yakdrom::cli
