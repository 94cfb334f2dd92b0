#include "ui/settings/AvailableFonts.h"

#include <QFontDatabase>
#include <array>

#include "ime/settings/YakdromSettings.h"
#include "ui/LocalizedText.h"

namespace yakdrom {
namespace {

// Tibetan families worth offering first, where the desktop has them.
constexpr std::array<const char*, 5> kPreferredFamilies = {
    "Kailasa", "Kokonor", "Microsoft Himalaya", "Noto Sans Tibetan", "Tibetan Machine Uni"};

}  // namespace

QStringList availableFonts() {
  const QStringList installed = QFontDatabase::families();
  QStringList fonts{qtString(kBundledFontFamily)};
  for (const char* family : kPreferredFamilies) {
    if (installed.contains(QLatin1String(family))) fonts.append(QLatin1String(family));
  }
  for (const QString& family : installed) {
    if (!fonts.contains(family)) fonts.append(family);
  }
  return fonts;
}

}  // namespace yakdrom
