// One page of candidates as Fcitx's candidate list: numbered, the selection as its cursor,
// laid out in a row or a column. The list holds only the page shown, since our candidate list,
// not Fcitx's, decides what a page is; Fcitx's page buttons, cursor moves and clicks come back
// as actions. Main thread.
#pragma once

#include <fcitx/candidatelist.h>

#include <cstddef>
#include <functional>

#include "ime/panel/CandidateList.h"

namespace yakdrom {

/// What the panel's buttons and clicks ask of the input session.
struct FcitxCandidateActions {
  /// Moves the selection one candidate (`pages` false) or one page forward for a positive
  /// `direction`, back for a negative one.
  std::function<void(int direction, bool pages)> moveSelection;
  /// Confirms the candidate at `index` of the page shown.
  std::function<void(std::size_t index)> choose;
};

class FcitxCandidateList final : public fcitx::CommonCandidateList {
 public:
  /// Holds `page` and sends the panel's requests to `actions`.
  FcitxCandidateList(const CandidatePage& page, FcitxCandidateActions actions);

  /// Returns true when pages lie before (hasPrev) or after (hasNext) the one shown.
  [[nodiscard]] bool hasPrev() const override { return hasPrev_; }
  [[nodiscard]] bool hasNext() const override { return hasNext_; }
  /// Turns to the previous or next page of the whole list.
  void prev() override { moveSelection(-1, true); }
  void next() override { moveSelection(1, true); }
  /// Returns false: a page turn shows a new list, which has not been turned.
  [[nodiscard]] bool usedNextBefore() const override { return false; }
  /// Moves the selection one candidate back or forward, across pages.
  void prevCandidate() override { moveSelection(-1, false); }
  void nextCandidate() override { moveSelection(1, false); }

 private:
  void moveSelection(int direction, bool pages) const;

  FcitxCandidateActions actions_;
  bool hasPrev_;
  bool hasNext_;
};

}  // namespace yakdrom
