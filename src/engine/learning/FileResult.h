// The outcome of a file operation the user started (import, export, backup, a lexicon
// build) or a writer ran: a value, or the system's error for the step that failed, ready
// to be shown to the user. Ignoring one does not compile with warnings as errors.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <variant>

namespace yakdrom {

struct FileError {
  // A constructor rather than aggregate initialisation, so that the detail may be left out.
  FileError(std::string action, std::filesystem::path path, std::error_code code,
            std::string detail = {})
      : action(std::move(action)), path(std::move(path)), code(code), detail(std::move(detail)) {}

  std::string action;  // what was attempted, e.g. "write" or "create the folder"
  std::filesystem::path path;
  std::error_code code;
  std::string detail;  // what the reason refers to, when it names something, e.g. a link's target

  /// Returns a one-line description such as "cannot write /a/b.txt: Permission denied".
  [[nodiscard]] std::string message() const {
    std::string text = "cannot " + action + " " + path.string() + ": " + code.message();
    return detail.empty() ? text : text + " (" + detail + ")";
  }

  bool operator==(const FileError&) const = default;
};

template <class T>
class [[nodiscard]] FileResult {
 public:
  // Implicit, so that an operation returns either its value or its error directly.
  FileResult(T value) : state_(std::move(value)) {}
  FileResult(FileError error) : state_(std::move(error)) {}

  /// Returns true when the operation succeeded.
  [[nodiscard]] bool ok() const { return std::holds_alternative<T>(state_); }
  explicit operator bool() const { return ok(); }

  /// Returns the value; only valid when ok().
  [[nodiscard]] const T& value() const { return std::get<T>(state_); }
  [[nodiscard]] T& value() { return std::get<T>(state_); }

  /// Returns the error; only valid when !ok().
  [[nodiscard]] const FileError& error() const { return std::get<FileError>(state_); }

 private:
  std::variant<T, FileError> state_;
};

/// The outcome of a file operation that has nothing to return but success.
using FileStatus = FileResult<std::monostate>;

}  // namespace yakdrom
