// A presenter that hands the candidates to one of several others, chosen by the front end
// whenever input starts: the IBus engine shows them in our own window or in the desktop's
// panel, as the session and the user's setting decide. Main thread.
#pragma once

#include "ime/panel/CandidatePresenter.h"

namespace yakdrom {

class SwitchingCandidatePresenter final : public CandidatePresenter {
 public:
  /// Presents through `initial`, which must outlive the presenter as every later one must.
  explicit SwitchingCandidatePresenter(CandidatePresenter& initial) : current_(&initial) {}

  /// Presents through `presenter` from now on; the old one's candidates are taken off the
  /// screen and its click handlers removed.
  void use(CandidatePresenter& presenter);
  /// Returns the presenter in use.
  [[nodiscard]] CandidatePresenter& current() const { return *current_; }

  void setActions(CandidatePresenterActions actions) override;
  void show(const CandidateList& list, const Rect& caret) override { current_->show(list, caret); }
  void update(const CandidateList& list) override { current_->update(list); }
  void hide() override { current_->hide(); }
  [[nodiscard]] bool isVisible() const override { return current_->isVisible(); }

 private:
  CandidatePresenter* current_;
  CandidatePresenterActions actions_;
};

}  // namespace yakdrom
