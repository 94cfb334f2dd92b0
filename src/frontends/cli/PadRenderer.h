// What the typing pad draws: a header line, the document with the marked text underlined
// and the caret after it, and the candidate window below in the chosen panel style. A pure
// function of the field and window models, so it is tested without a terminal. Any thread.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "frontends/cli/TypingSession.h"

namespace yakdrom::cli {

/// The smallest terminal the pad is drawn in; a smaller one shows `PadView::tooSmall`.
inline constexpr std::size_t kMinPadWidth = 20;
inline constexpr std::size_t kMinPadHeight = 6;

struct PadView {
  std::string header;
  std::string document;
  std::string marked;
  CandidateView candidates;
  /// The terminal's size in columns and rows.
  std::size_t width = 80;
  std::size_t height = 24;
  /// The line below the header, such as where text kept at the last hang-up went; often empty.
  std::string notice = {};
  /// Lines drawn below the header instead of the text and the candidates while not empty.
  std::vector<std::string> help = {};
  /// The one line drawn instead of the pad in a terminal below the minimum size.
  std::string tooSmall = {};
};

/// Returns the pad's lines from the top of the terminal, at most `height` of them, none
/// wider than `width` columns, with ANSI attributes: the marked text underlined, the caret
/// and the selected candidate in reverse video. The candidate window lists the page's rows
/// numbered as the window numbers them, the selected one marked ">": one per line (single
/// column), in columns (grid) or side by side (single row); then the selected candidate's
/// explanation (ending in "…" where the window offers its "…" button), the page label and,
/// while it is open, the full explanation. A document too long for the rest shows its end.
/// A terminal smaller than kMinPadWidth x kMinPadHeight gets the `tooSmall` line alone; help
/// lines, when there are any, take the place of everything below the header.
[[nodiscard]] std::vector<std::string> renderPad(const PadView& view);

}  // namespace yakdrom::cli
