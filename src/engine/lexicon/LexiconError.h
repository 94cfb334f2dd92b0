// Why a lexicon file that could be read holds no usable lexicon. The codes travel in a
// FileError, so a refused file is reported like one that cannot be opened.
#pragma once

#include <system_error>
#include <type_traits>

namespace yakdrom {

enum class LexiconError {
  unsupportedPackedVersion = 1,
  damagedPacked,
  packedWithoutDatName,
  notText,
  noWord,
};

/// Returns the error code of `error`, in the lexicon category.
[[nodiscard]] std::error_code make_error_code(LexiconError error);

}  // namespace yakdrom

template <>
struct std::is_error_code_enum<yakdrom::LexiconError> : std::true_type {};
