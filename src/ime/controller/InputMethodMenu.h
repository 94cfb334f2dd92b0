// The input method's menu as a model: the front ends draw it with their own menu widgets
// (the IBus property list, the pad's menu bar) and send the chosen action back to the
// controller. Values only; any thread.
#pragma once

#include <string>
#include <vector>

#include "ime/settings/InterfaceLanguage.h"

namespace yakdrom {

/// What a menu item asks the controller to do.
enum class MenuAction { openSettings };

struct MenuItem {
  std::string title;
  /// The key that chooses the item together with the platform's menu modifier.
  std::string keyEquivalent;
  MenuAction action = MenuAction::openSettings;

  friend bool operator==(const MenuItem&, const MenuItem&) = default;
};

struct InputMethodMenu {
  std::string title;
  std::vector<MenuItem> items;

  friend bool operator==(const InputMethodMenu&, const InputMethodMenu&) = default;
};

/// Returns the menu "Yakdrom" with its one item, the settings, titled in `language`.
[[nodiscard]] InputMethodMenu inputMethodMenu(InterfaceLanguage language);

}  // namespace yakdrom
