#include "ime/controller/InputMethodMenu.h"

namespace yakdrom {

InputMethodMenu inputMethodMenu(InterfaceLanguage language) {
  return {"Yakdrom",
          {{std::string(localized(language, "偏好设置…", "Settings…")), ",",
            MenuAction::openSettings}}};
}

}  // namespace yakdrom
