#include "ui/ApplicationAppearance.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
#include <array>

namespace yakdrom {

namespace {

constexpr int kDarkLightness = 128;

struct PaletteEntry {
  QPalette::ColorGroup group;
  QPalette::ColorRole role;
  QRgb light;
  QRgb dark;
};

// The entries for every group come first, so the disabled ones after them win.
constexpr std::array<PaletteEntry, 24> kPaletteEntries = {{
    {QPalette::All, QPalette::Window, 0xefefef, 0x2d2d2d},
    {QPalette::All, QPalette::WindowText, 0x1e1e1e, 0xe6e6e6},
    {QPalette::All, QPalette::Base, 0xffffff, 0x1e1e1e},
    {QPalette::All, QPalette::AlternateBase, 0xf5f5f5, 0x262626},
    {QPalette::All, QPalette::ToolTipBase, 0xffffdc, 0x3a3a3a},
    {QPalette::All, QPalette::ToolTipText, 0x1e1e1e, 0xe6e6e6},
    {QPalette::All, QPalette::PlaceholderText, 0x808080, 0x8c8c8c},
    {QPalette::All, QPalette::Text, 0x1e1e1e, 0xe6e6e6},
    {QPalette::All, QPalette::Button, 0xe8e8e8, 0x353535},
    {QPalette::All, QPalette::ButtonText, 0x1e1e1e, 0xe6e6e6},
    {QPalette::All, QPalette::BrightText, 0xd32f2f, 0xff6e6e},
    {QPalette::All, QPalette::Light, 0xffffff, 0x4a4a4a},
    {QPalette::All, QPalette::Midlight, 0xf0f0f0, 0x3e3e3e},
    {QPalette::All, QPalette::Mid, 0xb8b8b8, 0x262626},
    {QPalette::All, QPalette::Dark, 0x9f9f9f, 0x1a1a1a},
    {QPalette::All, QPalette::Shadow, 0x767676, 0x0f0f0f},
    {QPalette::All, QPalette::Highlight, 0x3073c6, 0x2f65ca},
    {QPalette::All, QPalette::HighlightedText, 0xffffff, 0xffffff},
    {QPalette::All, QPalette::Link, 0x0b57d0, 0x7cacf8},
    {QPalette::All, QPalette::LinkVisited, 0x7b3fb2, 0xc58af9},
    {QPalette::Disabled, QPalette::WindowText, 0x9a9a9a, 0x7f7f7f},
    {QPalette::Disabled, QPalette::Text, 0x9a9a9a, 0x7f7f7f},
    {QPalette::Disabled, QPalette::ButtonText, 0x9a9a9a, 0x7f7f7f},
    {QPalette::Disabled, QPalette::Highlight, 0xc8c8c8, 0x505050},
}};

QPalette fixedPalette(bool dark) {
  QPalette palette;
  for (const auto& entry : kPaletteEntries) {
    palette.setColor(entry.group, entry.role, QColor::fromRgb(dark ? entry.dark : entry.light));
  }
  return palette;
}

// An empty palette sets no role, so Qt fills every role from the platform theme, which is
// the desktop's own palette (Fusion's fills what the theme leaves out). Qt resolves it again
// when the desktop changes its theme, so the application keeps following the desktop, where
// a palette copied at start would stay as it was. The style's standard palette would not
// do: Fusion's is always light.
QPalette paletteFor(AppearancePreference preference) {
  switch (preference) {
    case AppearancePreference::light:
      return fixedPalette(false);
    case AppearancePreference::dark:
      return fixedPalette(true);
    case AppearancePreference::system:
      break;
  }
  return {};
}

}  // namespace

void ApplicationAppearance::apply(AppearancePreference preference) {
  // Setting the style again would re-polish every widget for nothing.
  if (QApplication::style()->name() != QStringLiteral("fusion")) {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  }
  QApplication::setPalette(paletteFor(preference));
}

bool ApplicationAppearance::isDark(const QPalette& palette) {
  return palette.color(QPalette::Window).lightness() < kDarkLightness;
}

bool ApplicationAppearance::isDark() { return isDark(QApplication::palette()); }

bool ApplicationAppearance::changesTheme(const QEvent& event) {
  switch (event.type()) {
    case QEvent::PaletteChange:
    case QEvent::ApplicationPaletteChange:
    case QEvent::StyleChange:
      return true;
    default:
      return false;
  }
}

}  // namespace yakdrom
