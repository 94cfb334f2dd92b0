// Candidates in our own floating window: the window sized to its rows and placed near the
// caret inside the screen, and the explanation box beside or below it. X11 and the pads
// use it. Main thread.
#pragma once

#include <memory>

#include "ime/panel/CandidatePresenter.h"
#include "ime/panel/ExplanationBox.h"
#include "ime/platform/CandidateWindowView.h"
#include "ime/platform/Screens.h"
#include "ime/platform/TextMeasurer.h"

namespace yakdrom {

class FloatingCandidatePresenter final : public CandidatePresenter {
 public:
  /// Takes both windows; `screens` and `measurer` must outlive the presenter.
  FloatingCandidatePresenter(std::unique_ptr<CandidateWindowView> window,
                             std::unique_ptr<ExplanationBoxView> explanationWindow,
                             const Screens& screens, const TextMeasurer& measurer);
  ~FloatingCandidatePresenter() override;
  FloatingCandidatePresenter(const FloatingCandidatePresenter&) = delete;
  FloatingCandidatePresenter& operator=(const FloatingCandidatePresenter&) = delete;

  void setActions(CandidatePresenterActions actions) override;
  /// Draws the first page and places the window near `caret`, inside the screen.
  void show(const CandidateList& list, const Rect& caret) override;
  /// Redraws the current page and resizes the window in place.
  void update(const CandidateList& list) override;
  void hide() override;
  [[nodiscard]] bool isVisible() const override { return window_->isVisible(); }

  /// Returns the candidate window and the explanation box.
  [[nodiscard]] const CandidateWindowView& window() const { return *window_; }
  [[nodiscard]] const ExplanationBox& explanationBox() const { return explanationBox_; }

 private:
  [[nodiscard]] double maxWindowWidth(const CandidateList& list) const;

  std::unique_ptr<CandidateWindowView> window_;
  ExplanationBox explanationBox_;
  const Screens& screens_;
  const TextMeasurer& measurer_;
  CandidateWindowContent content_;              // the last page drawn; its strings are reused
  std::vector<CandidateRowContent> spareRows_;  // rows a shorter page left over
};

}  // namespace yakdrom
