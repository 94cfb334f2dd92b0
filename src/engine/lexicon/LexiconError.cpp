#include "engine/lexicon/LexiconError.h"

#include <string>

namespace yakdrom {
namespace {

class LexiconCategory final : public std::error_category {
 public:
  [[nodiscard]] const char* name() const noexcept override { return "lexicon"; }

  [[nodiscard]] std::string message(int code) const override {
    switch (static_cast<LexiconError>(code)) {
      case LexiconError::unsupportedPackedVersion:
        return "a packed lexicon of a version this program does not read";
      case LexiconError::damagedPacked:
        return "it starts like a packed lexicon but cannot be read as one";
      case LexiconError::packedWithoutDatName:
        return "a packed lexicon is read only from a name ending in .dat";
      case LexiconError::notText:
        return "neither a packed lexicon nor UTF-8 text";
      case LexiconError::noWord:
        return "it holds no lexicon word";
    }
    return "unknown lexicon error";
  }
};

}  // namespace

std::error_code make_error_code(LexiconError error) {
  static const LexiconCategory category;
  return {static_cast<int>(error), category};
}

}  // namespace yakdrom
