// Why a file that exists is not read or written: it is not what a whole-file read or a
// replacing write can safely work on. The codes travel in a FileError, so a refused file is
// reported like one that cannot be opened.
#pragma once

#include <system_error>
#include <type_traits>

namespace yakdrom {

enum class FileRefusal {
  notRegularFile = 1,
  tooLarge,
  danglingLink,
};

/// Returns the error code of `refusal`, in the file-refusal category.
[[nodiscard]] std::error_code make_error_code(FileRefusal refusal);

}  // namespace yakdrom

template <>
struct std::is_error_code_enum<yakdrom::FileRefusal> : std::true_type {};
