// The desktop's screens and the mouse pointer as Qt reports them, converted once into the
// model's coordinates (origin bottom left of the primary screen, y up). Main thread.
#pragma once

#include <QObject>
#include <QRect>
#include <optional>
#include <utility>
#include <vector>

#include "ime/platform/Screens.h"

class QScreen;

namespace yakdrom {

class QtScreens final : public Screens {
 public:
  /// Reads the screens of the running application and follows their changes.
  QtScreens();
  QtScreens(const QtScreens&) = delete;
  QtScreens& operator=(const QtScreens&) = delete;

  /// Returns the kept list, rebuilt whenever a screen comes, goes or changes its geometry.
  [[nodiscard]] const std::vector<Screen>& screens() const override;
  /// Returns the screen of the focused window, else the primary screen, else nothing.
  [[nodiscard]] std::optional<Screen> mainScreen() const override;
  /// Returns the pointer position.
  [[nodiscard]] Point mouseLocation() const override;

  /// Returns the screens whose Qt geometry and available geometry are `geometries`, on a
  /// desktop whose primary screen is `primaryHeight` tall.
  [[nodiscard]] static std::vector<Screen> fromQt(
      const std::vector<std::pair<QRect, QRect>>& geometries, double primaryHeight);

 private:
  // Reads every screen but `leaving`, which is being removed.
  void rebuild(const QScreen* leaving = nullptr);
  void follow(QScreen* screen);

  // Owns the connections, so none outlives this object.
  QObject context_;
  std::vector<Screen> screens_;
};

}  // namespace yakdrom
