// Resizing a list of values that hold strings without losing their buffers: the rows of a
// candidate window are refilled on every key, and the rows a shorter page drops wait in a
// spare list for the next longer one instead of being freed and allocated again.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace yakdrom {

/// Gives `items` `size` elements, moving those it drops into `spare` and taking those it
/// adds from `spare` while it has any. Taken elements keep their old values.
template <class T>
void resizeKeepingRoom(std::vector<T>& items, std::size_t size, std::vector<T>& spare) {
  while (items.size() > size) {
    spare.push_back(std::move(items.back()));
    items.pop_back();
  }
  while (items.size() < size) {
    if (spare.empty()) {
      items.emplace_back();
    } else {
      items.push_back(std::move(spare.back()));
      spare.pop_back();
    }
  }
}

}  // namespace yakdrom
