#include "frontends/ibus/EngineEnvironment.h"

#include <array>
#include <cstdlib>

namespace yakdrom {
namespace {

struct PlatformRule {
  std::string_view displayVariable;
  std::string_view platform;
};

// The first rule whose variable is set wins; with none set there is no display at all.
constexpr std::array<PlatformRule, 2> kPlatformRules = {{
    {"DISPLAY", "xcb"},
    {"WAYLAND_DISPLAY", "wayland"},
}};

}  // namespace

EngineEnvironment EngineEnvironment::process() {
  return EngineEnvironment([](std::string_view name) -> std::optional<std::string> {
    const char* value = std::getenv(std::string(name).c_str());
    if (value == nullptr) return std::nullopt;
    return std::string(value);
  });
}

bool EngineEnvironment::isSet(std::string_view name) const {
  const auto value = read_(name);
  return value && !value->empty();
}

std::vector<std::pair<std::string, std::string>> EngineEnvironment::qtVariables() const {
  std::vector<std::pair<std::string, std::string>> variables{{"QT_IM_MODULE", "none"}};
  if (isSet("QT_QPA_PLATFORM")) return variables;
  std::string platform = "offscreen";
  for (const PlatformRule& rule : kPlatformRules) {
    if (isSet(rule.displayVariable)) {
      platform = rule.platform;
      break;
    }
  }
  variables.emplace_back("QT_QPA_PLATFORM", std::move(platform));
  return variables;
}

bool EngineEnvironment::isWaylandSession() const {
  return read_("XDG_SESSION_TYPE") == "wayland" || isSet("WAYLAND_DISPLAY");
}

}  // namespace yakdrom
