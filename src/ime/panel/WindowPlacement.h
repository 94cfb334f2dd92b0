// Where the candidate window and the explanation box go on screen: pure arithmetic in screen
// coordinates (origin bottom left, y up), kept apart from the windows so it can be checked
// case by case. Any thread.
#pragma once

#include <optional>
#include <vector>

#include "ime/platform/Screens.h"

namespace yakdrom {

/// Returns the bottom-left corner for a candidate window of `window` size near the caret
/// rectangle `caret`: under the caret when it fits there or when there is no more room
/// above, else over it, kept 4 points inside the visible frame of the caret's screen.
[[nodiscard]] Point candidateWindowOrigin(const Rect& caret, Size window,
                                          const std::vector<Screen>& screens,
                                          const std::optional<Screen>& mainScreen);

/// Returns the visible frame of the screen an explanation box beside `anchor` belongs to:
/// the first screen the anchor overlaps, else the main screen, else the zero rectangle.
[[nodiscard]] Rect explanationBoxArea(const Rect& anchor, const std::vector<Screen>& screens,
                                      const std::optional<Screen>& mainScreen);

/// Returns the explanation box's width: the anchor's width, but at least 160 and at most
/// the area's width less 40 (and never under 160).
[[nodiscard]] double explanationBoxWidth(const Rect& anchor, const Rect& area);

/// Returns the bottom-left corner of a box of `box` size below `anchor` (above it when there
/// is no room below) or beside it (on its left when there is no room on the right), kept 4
/// points inside `area`.
[[nodiscard]] Point explanationBoxOrigin(const Rect& anchor, Size box, const Rect& area,
                                         bool below);

}  // namespace yakdrom
