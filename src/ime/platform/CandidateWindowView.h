// What the candidate window draws, decided by CandidatePanel, and the window that draws it.
// The view lays out and paints; every choice of rows, numbers and buttons is made before.
// Main thread.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ime/platform/FloatingWindow.h"
#include "ime/platform/Font.h"

namespace yakdrom {

/// Longest a candidate text is laid out before it is truncated at the tail.
inline constexpr double kRowTextMaxWidthHorizontal = 240;
inline constexpr double kRowTextMaxWidthVertical = 400;
inline constexpr double kGridCellTextMaxWidth = 120;
/// The grid style's columns; its cells follow list order along each line.
inline constexpr std::size_t kGridColumns = 3;
/// Widths of the one-line explanation in a row and in the single-row explanation line; a
/// longer explanation is truncated and offers its "…" button.
inline constexpr double kRowExplanationMaxWidth = 260;
inline constexpr double kLineExplanationMaxWidth = 400;

struct CandidateRowContent {
  /// The candidate's index in the whole list, which a click reports back.
  std::size_t index = 0;
  std::string number;
  std::string text;
  /// The explanation label's text; hidden when absent.
  std::optional<std::string> explanation;
  bool showsMoreButton = false;
  bool isSelected = false;

  friend bool operator==(const CandidateRowContent&, const CandidateRowContent&) = default;
};

/// The explanation line under the rows of the single-row and the grid style.
struct ExplanationLineContent {
  std::string text;
  bool showsMoreButton = false;

  friend bool operator==(const ExplanationLineContent&, const ExplanationLineContent&) = default;
};

struct CandidateWindowContent {
  /// Rows side by side (single-row style) or stacked (the other styles).
  bool horizontal = false;
  /// Stacked rows are laid out in this many columns, line by line: 1 for the single
  /// column, kGridColumns for the grid.
  std::size_t columns = 1;
  Font font;
  Font explanationFont;
  std::vector<CandidateRowContent> rows;
  std::optional<ExplanationLineContent> explanationLine;
  /// For example "2/5"; empty when the list has one page.
  std::string pageLabel;

  friend bool operator==(const CandidateWindowContent&, const CandidateWindowContent&) = default;
};

/// What the window reports back from the mouse.
struct CandidateWindowActions {
  std::function<void(std::size_t index)> rowClicked;
  std::function<void()> showFullExplanation;
};

class CandidateWindowView : public FloatingWindow {
 public:
  /// Installs the handlers for clicks on rows and on the "…" buttons, replacing earlier ones.
  virtual void setActions(CandidateWindowActions actions) = 0;

  /// Re-colours the window background for the current light or dark appearance.
  virtual void applyTheme() = 0;

  /// Replaces the window's rows, explanation line and page label with `content`.
  virtual void display(const CandidateWindowContent& content) = 0;

  /// Returns the size the displayed rows and explanation line need, without the room that
  /// the window keeps below them for the page label.
  [[nodiscard]] virtual Size fittingSize() const = 0;
};

}  // namespace yakdrom
