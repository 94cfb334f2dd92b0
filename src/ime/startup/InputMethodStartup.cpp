#include "ime/startup/InputMethodStartup.h"

#include "ime/startup/CustomFont.h"

namespace yakdrom {

void saveLearntWords(UserDictionary& userDictionary, Log& log) {
  if (auto written = userDictionary.flush(); !written) {
    log.write("用户词库保存失败 " + written.error().message());
  }
}

int runInputMethod(const StartupHooks& hooks, const StartupServices& services) {
  registerCustomFont(services.bundle, services.fonts, services.log);
  services.dictionary.preloadIfNeeded();
  if (!hooks.createServer(kConnectionName, services.bundle.identifier())) {
    services.log.write(
        "致命错误 — 无法创建 IMKServer。请确认通过 .app bundle 方式启动（不能直接运行裸二进制）。");
    return kServerFailureStatus;
  }
  hooks.onTerminate([&userDictionary = services.userDictionary, &log = services.log] {
    saveLearntWords(userDictionary, log);
  });
  hooks.applyAppearance(services.settings.appearancePreference());
  return hooks.runEventLoop();
}

}  // namespace yakdrom
