#include <gtest/gtest.h>

#include <map>

#include "frontends/ibus/EngineEnvironment.h"

namespace yakdrom {
namespace {

using Variables = std::map<std::string, std::string, std::less<>>;

EngineEnvironment environmentOf(Variables variables) {
  return EngineEnvironment([variables = std::move(variables)](std::string_view name) {
    const auto found = variables.find(name);
    return found == variables.end() ? std::nullopt : std::optional<std::string>(found->second);
  });
}

// The daemon's environment decides where the engine's windows can open at all.
TEST(EngineEnvironmentTest, QtGetsAPlatformItCanOpenAndNeverTheIBusModule) {
  struct Case {
    Variables variables;
    const char* platform;  // null: the user's choice stands
  };
  const Case cases[] = {
      {{}, "offscreen"},
      {{{"DISPLAY", ""}}, "offscreen"},
      {{{"DISPLAY", ":0"}}, "xcb"},
      {{{"DISPLAY", ":0"}, {"WAYLAND_DISPLAY", "wayland-0"}}, "xcb"},
      {{{"WAYLAND_DISPLAY", "wayland-0"}}, "wayland"},
      {{{"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "wayland"}}, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.platform != nullptr ? c.platform : "user's choice");
    std::vector<std::pair<std::string, std::string>> expected{{"QT_IM_MODULE", "none"}};
    if (c.platform != nullptr) expected.emplace_back("QT_QPA_PLATFORM", c.platform);
    EXPECT_EQ(environmentOf(c.variables).qtVariables(), expected);
  }
}

TEST(EngineEnvironmentTest, AWaylandSessionIsToldBySessionTypeOrDisplay) {
  EXPECT_TRUE(
      environmentOf({{"XDG_SESSION_TYPE", "wayland"}, {"DISPLAY", ":0"}}).isWaylandSession());
  EXPECT_TRUE(environmentOf({{"WAYLAND_DISPLAY", "wayland-0"}}).isWaylandSession());
  EXPECT_FALSE(environmentOf({{"XDG_SESSION_TYPE", "x11"}, {"DISPLAY", ":0"}}).isWaylandSession());
  EXPECT_FALSE(environmentOf({{"WAYLAND_DISPLAY", ""}}).isWaylandSession());
}

}  // namespace
}  // namespace yakdrom
