#include "ime/panel/FloatingCandidatePresenter.h"

#include <algorithm>
#include <limits>

#include "ime/panel/WindowPlacement.h"

namespace yakdrom {
namespace {

constexpr double kMinWindowWidth = 140;
constexpr double kMaxWindowWidth = 480;
// Kept free on either side of a single row as wide as a screen.
constexpr double kScreenMargin = 4;
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
  window_->setContentSize({std::clamp(fitting.width, kMinWindowWidth, maxWindowWidth(list)),
                           fitting.height + kPageLabelRoom});
  if (const auto text = list.boxExplanation()) {
    explanationBox_.show(*text, list.explanationFont(), window_->frame(), list.horizontal());
  } else {
    explanationBox_.hide();
  }
}

// A page of candidates side by side is far wider than a column: at 480 points every one of
// ten would be cut to its first letter. A single row may take the width of the narrowest
// screen instead, so it fits on whichever screen the caret is.
double FloatingCandidatePresenter::maxWindowWidth(const CandidateList& list) const {
  if (!list.horizontal() || screens_.screens().empty()) return kMaxWindowWidth;
  double narrowest = std::numeric_limits<double>::infinity();
  for (const Screen& screen : screens_.screens()) {
    narrowest = std::min(narrowest, screen.visibleFrame.width());
  }
  return std::max(kMaxWindowWidth, narrowest - 2 * kScreenMargin);
}

void FloatingCandidatePresenter::hide() {
  window_->orderOut();
  explanationBox_.hide();
}

}  // namespace yakdrom
