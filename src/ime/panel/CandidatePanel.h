// The candidate window of one input controller, as a model: the candidate list, paging,
// selection, numbering, which row shows an explanation and when "…" is offered, the window's
// size and its place near the caret. The views only draw what it decides. Main thread.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ime/panel/ExplanationBox.h"
#include "ime/panel/ExplanationProvider.h"
#include "ime/platform/CandidateWindowView.h"
#include "ime/platform/Screens.h"
#include "ime/platform/TextMeasurer.h"

namespace yakdrom {

/// The arrow keys, which move the selection along the candidates and open or close the
/// explanation box across them.
enum class ArrowKey { left, right, down, up };

class CandidatePanel {
 public:
  /// Receives the candidate the user clicked.
  using ConfirmHandler = std::function<void(const std::string& word)>;

  /// Takes both windows; `screens` and `measurer` must outlive the panel.
  CandidatePanel(std::unique_ptr<CandidateWindowView> window,
                 std::unique_ptr<ExplanationBoxView> explanationWindow, const Screens& screens,
                 const TextMeasurer& measurer);
  ~CandidatePanel();
  CandidatePanel(const CandidatePanel&) = delete;
  CandidatePanel& operator=(const CandidatePanel&) = delete;

  /// Sets what receives a clicked candidate.
  void setOnConfirm(ConfirmHandler handler) { onConfirm_ = std::move(handler); }
  /// Sets where explanations come from; without one no explanation is shown.
  void setExplanationProvider(ExplanationProvider provider);

  /// Returns the number of candidates per page (9 until set).
  [[nodiscard]] std::size_t pageSize() const { return pageSize_; }
  /// Sets the candidates per page; 0 is taken as 1, since a page must hold something.
  void setPageSize(std::size_t size);
  /// Returns the candidates' font (the user-interface font at 20 until set).
  [[nodiscard]] const Font& font() const { return font_; }
  void setFont(Font font) { font_ = std::move(font); }
  /// Returns the explanations' font (the user-interface font at 12 until set).
  [[nodiscard]] const Font& explanationFont() const { return explanationFont_; }
  void setExplanationFont(Font font) { explanationFont_ = std::move(font); }
  /// Returns true for the single-row style, false for the single-column and grid styles.
  [[nodiscard]] bool horizontal() const { return horizontal_; }
  void setHorizontal(bool horizontal) { horizontal_ = horizontal; }

  /// Returns the whole candidate list, all pages.
  [[nodiscard]] const std::vector<std::string>& candidates() const { return candidates_; }
  /// Returns the current page, from 0.
  [[nodiscard]] std::size_t page() const { return page_; }
  /// Returns the index of the selected candidate in the whole list.
  [[nodiscard]] std::size_t selection() const { return selection_; }
  /// Returns true while the explanation box is requested.
  [[nodiscard]] bool explanationVisible() const { return explanationVisible_; }
  /// Requests or withdraws the explanation box; takes effect at the next rebuild.
  void setExplanationVisible(bool visible) { explanationVisible_ = visible; }

  /// Returns the candidate window and the explanation box.
  [[nodiscard]] CandidateWindowView& window() { return *window_; }
  [[nodiscard]] const CandidateWindowView& window() const { return *window_; }
  [[nodiscard]] ExplanationBox& explanationBox() { return explanationBox_; }

  /// Shows `candidates` from the first page, the first selected and no explanation box,
  /// in a window placed near `caret`.
  void show(std::vector<std::string> candidates, const Rect& caret);

  /// Redraws the current page and resizes the window in place.
  void rebuild();

  /// Moves the selection by `step`, wrapping around the ends of the list; the page follows
  /// the selection. Does nothing without candidates.
  void moveSelection(int step);

  /// Acts on an arrow key: along the rows (left and right in the single-row style, up and
  /// down otherwise) it moves the selection; across them, right or down opens the
  /// explanation box and left or up closes it, rebuilding only when that changes.
  void pressArrow(ArrowKey key);

  /// Selects the candidate numbered `number` on the current page and returns it; returns
  /// nothing, and changes nothing, when the page has no such number.
  [[nodiscard]] std::optional<std::string> select(int number);

  /// Orders both windows out and empties the candidate list.
  void hide();

  /// Re-colours the window for the current appearance.
  void applyTheme() { window_->applyTheme(); }

  /// Shows the selected candidate's explanation box when it is requested and there is a
  /// text to show; hides it otherwise.
  void updateExplanationBox();

 private:
  [[nodiscard]] CandidateWindowContent content() const;
  [[nodiscard]] CandidateRowContent row(std::size_t index) const;
  [[nodiscard]] std::optional<std::string> explanation(std::size_t index) const;
  [[nodiscard]] std::string pageLabel() const;
  void setExplanationVisibleAndRebuild(bool visible);
  void clickRow(std::size_t index);
  void showFullExplanation();

  std::unique_ptr<CandidateWindowView> window_;
  ExplanationBox explanationBox_;
  const Screens& screens_;
  const TextMeasurer& measurer_;
  ConfirmHandler onConfirm_;
  ExplanationProvider explanationProvider_;
  std::size_t pageSize_ = 9;
  Font font_ = Font::system(20);
  Font explanationFont_ = Font::system(12);
  bool horizontal_ = false;
  std::vector<std::string> candidates_;
  std::size_t page_ = 0;
  std::size_t selection_ = 0;
  bool explanationVisible_ = false;
};

}  // namespace yakdrom
