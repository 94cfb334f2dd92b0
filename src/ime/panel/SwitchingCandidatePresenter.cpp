#include "ime/panel/SwitchingCandidatePresenter.h"

namespace yakdrom {

void SwitchingCandidatePresenter::use(CandidatePresenter& presenter) {
  if (&presenter == current_) return;
  current_->hide();
  current_->setActions({});
  current_ = &presenter;
  current_->setActions(actions_);
}

void SwitchingCandidatePresenter::setActions(CandidatePresenterActions actions) {
  actions_ = std::move(actions);
  current_->setActions(actions_);
}

}  // namespace yakdrom
