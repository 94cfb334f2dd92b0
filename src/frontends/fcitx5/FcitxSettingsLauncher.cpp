#include "frontends/fcitx5/FcitxSettingsLauncher.h"

#include <fcitx-utils/misc.h>
#include <unistd.h>

namespace yakdrom {

// Fcitx forks twice and lets the daemon reap the first child at once, so the window neither
// waits on the daemon nor stays behind as a zombie when it closes.
void FcitxSettingsLauncher::show() {
  if (::access(program_.c_str(), X_OK) != 0) {
    log_.write("Fcitx: 无法启动设置窗口 " + program_.string());
    return;
  }
  fcitx::startProcess({program_.string()});
}

}  // namespace yakdrom
