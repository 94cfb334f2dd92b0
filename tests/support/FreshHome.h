// The home every test program runs in: HOME and the XDG folders point at a fresh empty
// folder, and the run fails when anything appeared there, since no test may read or write
// the user's own settings, dictionary or caches. A test that needs a home makes its own.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <string_view>

namespace yakdrom::testing {

class FreshHome {
 public:
  /// Creates the folder and points the home variables at it.
  FreshHome();
  /// Removes the folder and everything in it.
  ~FreshHome();
  FreshHome(const FreshHome&) = delete;
  FreshHome& operator=(const FreshHome&) = delete;

  /// Returns false when the folder could not be created (the reason is printed).
  [[nodiscard]] bool created() const { return !folder_.empty(); }

  /// Returns `status`, or a failure naming what the tests left in the folder, apart from
  /// the entries `tolerated` (top-level names that a library writes on its own).
  [[nodiscard]] int verdict(int status,
                            std::initializer_list<std::string_view> tolerated = {}) const;

 private:
  std::filesystem::path folder_;
};

}  // namespace yakdrom::testing
