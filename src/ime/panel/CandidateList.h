// The candidate list of one input controller, as a model: the candidates, paging, selection,
// numbering, which row shows an explanation and when "…" is offered. Presenters only show
// what it decides, in our own window or in a desktop's panel. Main thread.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ime/panel/ExplanationProvider.h"
#include "ime/platform/CandidateWindowView.h"
#include "ime/platform/Font.h"
#include "ime/platform/TextMeasurer.h"

namespace yakdrom {

/// The arrow keys, which move the selection along the candidates and open or close the
/// explanation box across them.
enum class ArrowKey { left, right, down, up };

/// One page as a desktop's own candidate panel shows it.
struct CandidatePage {
  /// The candidates of the page and their numbers, in order.
  std::vector<std::string> texts;
  std::vector<std::string> labels;
  /// The selected candidate's place on the page.
  std::size_t cursor = 0;
  /// True for the single-row style.
  bool horizontal = false;
  /// For example "2/5"; empty when the list has one page.
  std::string pageLabel;
  /// The selected candidate's explanation.
  std::optional<std::string> explanation;
  /// True when pages lie before and after this one. Paging wraps around the list, but a
  /// panel's page buttons show where the user is.
  bool hasPreviousPage = false;
  bool hasNextPage = false;

  friend bool operator==(const CandidatePage&, const CandidatePage&) = default;
};

class CandidateList {
 public:
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
  /// Returns true when stacked candidates are drawn as a grid. The keys act as in the single
  /// column; the selected candidate's explanation moves to a line under the grid, since a
  /// cell has no room for it.
  [[nodiscard]] bool grid() const { return grid_ && !horizontal_; }
  void setGrid(bool grid) { grid_ = grid; }

  /// Returns the whole candidate list, all pages.
  [[nodiscard]] const std::vector<std::string>& candidates() const { return candidates_; }
  [[nodiscard]] bool empty() const { return candidates_.empty(); }
  /// Returns the current page, from 0.
  [[nodiscard]] std::size_t page() const { return page_; }
  /// Returns the index of the selected candidate in the whole list.
  [[nodiscard]] std::size_t selection() const { return selection_; }
  /// Returns the selected candidate, or nothing for an empty list.
  [[nodiscard]] std::optional<std::string> selected() const;
  /// Returns true while the explanation box is requested.
  [[nodiscard]] bool explanationVisible() const { return explanationVisible_; }
  /// Requests or withdraws the explanation box; returns true when that changed.
  bool setExplanationVisible(bool visible);

  /// Replaces the list with `candidates` from the first page, the first selected and no
  /// explanation box.
  void reset(std::vector<std::string> candidates);
  /// Empties the list.
  void clear() { candidates_.clear(); }
  /// Empties the list and returns its candidates, whose strings' room a new list can reuse.
  [[nodiscard]] std::vector<std::string> takeCandidates() { return std::exchange(candidates_, {}); }

  /// Moves the selection by `step`, wrapping around the ends of the list; the page follows
  /// the selection. Does nothing without candidates.
  void moveSelection(int step);

  /// Acts on an arrow key: along the rows (left and right in the single-row style, up and
  /// down otherwise) it moves the selection; across them, right or down requests the
  /// explanation box and left or up withdraws it. Returns true when anything changed.
  bool pressArrow(ArrowKey key);

  /// Selects the candidate numbered `number` on the current page and returns it; returns
  /// nothing, and changes nothing, when the page has no such number.
  [[nodiscard]] std::optional<std::string> select(int number);

  /// Selects the candidate at `index` of the whole list and returns it, or nothing when
  /// there is no such candidate.
  [[nodiscard]] std::optional<std::string> selectIndex(std::size_t index);

  /// Returns the explanation of the candidate at `index`; an empty text counts as none.
  [[nodiscard]] std::optional<std::string> explanation(std::size_t index) const;

  /// Returns the explanation to show in a box: the selected candidate's, while requested.
  [[nodiscard]] std::optional<std::string> boxExplanation() const;

  /// Replaces `content` with what our own candidate window draws for the current page,
  /// reusing its strings; `measurer` decides which explanations are too wide and offer "…".
  /// Rows a shorter page leaves over wait in `spareRows` for a longer one.
  void windowContentInto(const TextMeasurer& measurer, CandidateWindowContent& content,
                         std::vector<CandidateRowContent>& spareRows) const;

  /// Returns the current page as a desktop's candidate panel shows it.
  [[nodiscard]] CandidatePage currentPage() const;

 private:
  [[nodiscard]] std::size_t pageStart() const { return page_ * pageSize_; }
  [[nodiscard]] std::size_t pageEnd() const;
  [[nodiscard]] std::string number(std::size_t index) const;
  void rowInto(std::size_t index, const TextMeasurer& measurer, CandidateRowContent& row) const;
  [[nodiscard]] std::string pageLabel() const;
  [[nodiscard]] bool explainsUnderRows() const { return horizontal_ || grid(); }

  ExplanationProvider explanationProvider_;
  std::size_t pageSize_ = 9;
  Font font_ = Font::system(20);
  Font explanationFont_ = Font::system(12);
  bool horizontal_ = false;
  bool grid_ = false;
  std::vector<std::string> candidates_;
  std::size_t page_ = 0;
  std::size_t selection_ = 0;
  bool explanationVisible_ = false;
};

}  // namespace yakdrom
