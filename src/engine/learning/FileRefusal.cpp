#include "engine/learning/FileRefusal.h"

#include <string>

namespace yakdrom {
namespace {

class FileRefusalCategory final : public std::error_category {
 public:
  [[nodiscard]] const char* name() const noexcept override { return "file refusal"; }

  [[nodiscard]] std::string message(int code) const override {
    switch (static_cast<FileRefusal>(code)) {
      case FileRefusal::notRegularFile:
        return "not a regular file";
      case FileRefusal::tooLarge:
        return "larger than the 512 MiB this program reads";
      case FileRefusal::danglingLink:
        return "a symbolic link to a file that does not exist";
    }
    return "unknown file refusal";
  }
};

}  // namespace

std::error_code make_error_code(FileRefusal refusal) {
  static const FileRefusalCategory category;
  return {static_cast<int>(refusal), category};
}

}  // namespace yakdrom
