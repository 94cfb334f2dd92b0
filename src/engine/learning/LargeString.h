// A std::string for file-sized text: once large, its buffer comes from the huge-page
// allocator, so filling it costs a few page faults rather than one per 4 KiB.
#pragma once

#include <string>

#include "engine/lexicon/HugePageAllocator.h"

namespace yakdrom::detail {

using LargeString = std::basic_string<char, std::char_traits<char>, HugePageAllocator<char>>;

}  // namespace yakdrom::detail
