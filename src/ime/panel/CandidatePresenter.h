// What shows a candidate list on screen: our own floating window near the caret, or a
// desktop's own candidate panel. The list decides everything; a presenter only shows it and
// reports the user's clicks back. Main thread.
#pragma once

#include <cstddef>
#include <functional>

#include "ime/panel/CandidateList.h"
#include "ime/platform/Geometry.h"

namespace yakdrom {

/// What a presenter reports back from the mouse.
struct CandidatePresenterActions {
  /// The candidate at this index of the whole list was clicked.
  std::function<void(std::size_t index)> candidateClicked;
  /// The "…" button asked for the selected candidate's whole explanation.
  std::function<void()> explanationRequested;
};

class CandidatePresenter {
 public:
  virtual ~CandidatePresenter() = default;

  /// Installs the handlers for clicks, replacing earlier ones.
  virtual void setActions(CandidatePresenterActions actions) = 0;

  /// Shows `list`, which was just filled, near `caret`.
  virtual void show(const CandidateList& list, const Rect& caret) = 0;

  /// Shows `list` again in place after its page, selection or explanation changed.
  virtual void update(const CandidateList& list) = 0;

  /// Takes the candidates and their explanation off the screen.
  virtual void hide() = 0;

  /// Returns true while candidates are on screen.
  [[nodiscard]] virtual bool isVisible() const = 0;
};

}  // namespace yakdrom
