// Candidates in a desktop's own candidate panel (the IBus lookup table, the Fcitx candidate
// list), which places and draws the page itself: the way candidates reach the user on
// Wayland. Main thread.
#pragma once

#include "ime/panel/CandidatePresenter.h"

namespace yakdrom {

/// The desktop's panel as a front end wraps it.
class DesktopCandidatePanel {
 public:
  virtual ~DesktopCandidatePanel() = default;
  /// Shows `page` in place of whatever the panel showed.
  virtual void showPage(const CandidatePage& page) = 0;
  /// Takes the panel off the screen.
  virtual void hidePage() = 0;
};

class DesktopPanelPresenter final : public CandidatePresenter {
 public:
  /// Shows pages in `panel`, which must outlive the presenter.
  explicit DesktopPanelPresenter(DesktopCandidatePanel& panel) : panel_(panel) {}

  /// Keeps the handlers for the front end to call from the panel's own click signals.
  void setActions(CandidatePresenterActions actions) override { actions_ = std::move(actions); }
  /// Hands the current page to the panel; the desktop places it at the caret it was told.
  void show(const CandidateList& list, const Rect& caret) override;
  void update(const CandidateList& list) override;
  void hide() override;
  [[nodiscard]] bool isVisible() const override { return visible_; }

  /// Reports a click on the page's candidate at `cursor`.
  void clickCandidate(std::size_t cursor) const;

 private:
  DesktopCandidatePanel& panel_;
  CandidatePresenterActions actions_;
  std::size_t pageStart_ = 0;
  bool visible_ = false;
};

}  // namespace yakdrom
