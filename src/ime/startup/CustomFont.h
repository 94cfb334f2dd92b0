// Registers the candidate font the program carries ("Yakdrom-SN.ttf") for this process, so
// that the default font settings find it. Main thread, at start-up.
#pragma once

#include "ime/platform/FontSystem.h"
#include "ime/platform/Log.h"
#include "ime/startup/ApplicationBundle.h"

namespace yakdrom {

inline constexpr ResourceName kCandidateFontResource{"Yakdrom-SN", "ttf"};

/// Registers the font file found among the bundle's resources, else in "../Resources" beside
/// the executable, through `fonts`, and logs the outcome; a missing file or a failed
/// registration is logged and otherwise ignored.
void registerCustomFont(const ApplicationBundle& bundle, FontSystem& fonts, Log& log);

}  // namespace yakdrom
