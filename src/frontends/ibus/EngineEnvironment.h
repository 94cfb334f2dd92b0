// The environment the engine process sets itself up in. The daemon starts the engine with
// its own environment, which may name no display at all, and the engine's own windows must
// never become IBus clients themselves. Main thread, before the QApplication is made.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace yakdrom {

/// Reads one environment variable; nothing when it is unset.
using EnvironmentReader = std::function<std::optional<std::string>(std::string_view name)>;

class EngineEnvironment {
 public:
  /// Reads the variables through `read`.
  explicit EngineEnvironment(EnvironmentReader read) : read_(std::move(read)) {}

  /// Returns the process environment.
  [[nodiscard]] static EngineEnvironment process();

  /// Returns the variables to set before Qt starts: an input-method module that is not
  /// IBus, and a platform Qt can open (xcb wherever an X server is reachable, XWayland
  /// included, since only there can our windows be placed at the caret; Wayland with no X
  /// server; offscreen with no display at all), unless the user chose one.
  [[nodiscard]] std::vector<std::pair<std::string, std::string>> qtVariables() const;

  /// Returns true in a Wayland desktop session, where the desktop's own candidate panel is
  /// the only one placed at the caret.
  [[nodiscard]] bool isWaylandSession() const;

 private:
  [[nodiscard]] bool isSet(std::string_view name) const;

  EnvironmentReader read_;
};

}  // namespace yakdrom
