#include "ime/platform/TextInputClient.h"

namespace yakdrom {

std::string describe(TextRange range) {
  return "{" + std::to_string(range.location) + ", " + std::to_string(range.length) + "}";
}

}  // namespace yakdrom
