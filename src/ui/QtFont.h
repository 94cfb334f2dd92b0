// The Qt font for a font the settings chose: an empty name stands for the desktop's
// user-interface font. Main thread.
#pragma once

#include <QFont>

#include "ime/platform/Font.h"

namespace yakdrom {

[[nodiscard]] QFont toQFont(const Font& font);

}  // namespace yakdrom
