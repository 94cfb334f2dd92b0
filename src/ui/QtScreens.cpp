#include "ui/QtScreens.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include "ui/ScreenCoordinates.h"

namespace yakdrom {

namespace {

Screen toScreen(const ScreenCoordinates& coordinates, const QRect& geometry,
                const QRect& available) {
  return {coordinates.toModel(QRectF(geometry)), coordinates.toModel(QRectF(available))};
}

}  // namespace

QtScreens::QtScreens() {
  QObject::connect(qGuiApp, &QGuiApplication::screenAdded, &context_, [this](QScreen* screen) {
    follow(screen);
    rebuild();
  });
  // The leaving screen may still be listed while this signal is delivered, so it is left
  // out by name.
  QObject::connect(qGuiApp, &QGuiApplication::screenRemoved, &context_,
                   [this](const QScreen* screen) { rebuild(screen); });
  QObject::connect(qGuiApp, &QGuiApplication::primaryScreenChanged, &context_,
                   [this] { rebuild(); });
  for (QScreen* screen : QGuiApplication::screens()) follow(screen);
  rebuild();
}

const std::vector<Screen>& QtScreens::screens() const { return screens_; }

std::optional<Screen> QtScreens::mainScreen() const {
  const QWindow* focused = QGuiApplication::focusWindow();
  const QScreen* screen = focused != nullptr ? focused->screen() : nullptr;
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return std::nullopt;
  return toScreen(ScreenCoordinates::current(), screen->geometry(), screen->availableGeometry());
}

Point QtScreens::mouseLocation() const {
  return ScreenCoordinates::current().toModel(QPointF(QCursor::pos()));
}

std::vector<Screen> QtScreens::fromQt(const std::vector<std::pair<QRect, QRect>>& geometries,
                                      double primaryHeight) {
  const ScreenCoordinates coordinates(primaryHeight);
  std::vector<Screen> screens;
  screens.reserve(geometries.size());
  for (const auto& [geometry, available] : geometries) {
    screens.push_back(toScreen(coordinates, geometry, available));
  }
  return screens;
}

void QtScreens::rebuild(const QScreen* leaving) {
  std::vector<std::pair<QRect, QRect>> geometries;
  for (const QScreen* screen : QGuiApplication::screens()) {
    if (screen != leaving) geometries.emplace_back(screen->geometry(), screen->availableGeometry());
  }
  const QScreen* primary = QGuiApplication::primaryScreen();
  screens_ = fromQt(geometries, primary != nullptr ? primary->geometry().height() : 0);
}

void QtScreens::follow(QScreen* screen) {
  QObject::connect(screen, &QScreen::geometryChanged, &context_, [this] { rebuild(); });
  QObject::connect(screen, &QScreen::availableGeometryChanged, &context_, [this] { rebuild(); });
}

}  // namespace yakdrom
