#include "ime/panel/FloatingCandidatePresenter.h"

#include <algorithm>

#include "ime/panel/WindowPlacement.h"

namespace yakdrom {
namespace {

constexpr double kMinWindowWidth = 140;
constexpr double kMaxWindowWidth = 480;
// Room below the rows for the page label.
constexpr double kPageLabelRoom = 14;

}  // namespace

FloatingCandidatePresenter::FloatingCandidatePresenter(
    std::unique_ptr<CandidateWindowView> window,
    std::unique_ptr<ExplanationBoxView> explanationWindow, const Screens& screens,
    const TextMeasurer& measurer)
    : window_(std::move(window)),
      explanationBox_(std::move(explanationWindow), screens),
      screens_(screens),
      measurer_(measurer) {
  window_->applyTheme();
}

// A click the window delivered while being destroyed would reach a controller that may be
// gone already.
FloatingCandidatePresenter::~FloatingCandidatePresenter() { window_->setActions({}); }

void FloatingCandidatePresenter::setActions(CandidatePresenterActions actions) {
  window_->setActions(
      {std::move(actions.candidateClicked), std::move(actions.explanationRequested)});
}

void FloatingCandidatePresenter::show(const CandidateList& list, const Rect& caret) {
  explanationBox_.hide();
  update(list);
  const Rect frame = window_->frame();
  window_->setFrameOrigin(
      candidateWindowOrigin(caret, frame.size, screens_.screens(), screens_.mainScreen()));
  window_->orderFront();
}

void FloatingCandidatePresenter::update(const CandidateList& list) {
  window_->applyTheme();
  list.windowContentInto(measurer_, content_, spareRows_);
  window_->display(content_);
  const Size fitting = window_->fittingSize();
  window_->setContentSize({std::clamp(fitting.width, kMinWindowWidth, kMaxWindowWidth),
                           fitting.height + kPageLabelRoom});
  if (const auto text = list.boxExplanation()) {
    explanationBox_.show(*text, list.explanationFont(), window_->frame(), list.horizontal());
  } else {
    explanationBox_.hide();
  }
}

void FloatingCandidatePresenter::hide() {
  window_->orderOut();
  explanationBox_.hide();
}

}  // namespace yakdrom
