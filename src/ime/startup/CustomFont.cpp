#include "ime/startup/CustomFont.h"

#include <string>

namespace yakdrom {

void registerCustomFont(const ApplicationBundle& bundle, FontSystem& fonts, Log& log) {
  auto file = bundle.resource(kCandidateFontResource);
  if (!file) file = bundle.besideExecutable(kCandidateFontResource);
  if (!file) {
    log.write("未找到 Yakdrom-SN.ttf");
    return;
  }
  const FontRegistration registration = fonts.registerFontFile(*file);
  if (registration.succeeded) {
    log.write("字体 Yakdrom-SN 注册成功，路径 " + file->string());
  } else {
    log.write("字体注册失败 " +
              (registration.error.empty() ? std::string("未知错误") : registration.error));
  }
}

}  // namespace yakdrom
