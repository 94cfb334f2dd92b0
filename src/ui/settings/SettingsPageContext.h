// What every page of the settings window is built with: the services, the typed settings,
// the language its texts are made in, and the window's shared routines. Main thread.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

#include "ime/settings/InterfaceLanguage.h"
#include "ime/settings/YakdromSettings.h"
#include "ui/LocalizedText.h"
#include "ui/settings/SettingsServices.h"

namespace yakdrom {

/// A result shown to the user: a title, a message and, optionally, a file to show in the
/// file manager.
struct Notice {
  QString title;
  QString message;
  std::optional<std::filesystem::path> reveal;
};

struct SettingsPageContext {
  SettingsServices& services;
  YakdromSettings& settings;
  InterfaceLanguage language;
  /// The window the pages' dialogs belong to.
  QWidget& window;
  /// The open user-dictionary editor; the window keeps it across rebuilds of its pages.
  QPointer<QDialog>& userDictSheet;
  /// Shows `notice` on the window.
  std::function<void(const Notice&)> notify;
  /// Shows the dictionary's and the statistics' figures afresh.
  std::function<void()> refreshFigures;

  /// Returns the text in the page's language.
  [[nodiscard]] QString text(std::string_view chinese, std::string_view english) const {
    return localizedText(language, chinese, english);
  }
};

}  // namespace yakdrom
