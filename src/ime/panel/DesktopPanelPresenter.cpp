#include "ime/panel/DesktopPanelPresenter.h"

namespace yakdrom {

void DesktopPanelPresenter::show(const CandidateList& list, const Rect& /*caret*/) { update(list); }

void DesktopPanelPresenter::update(const CandidateList& list) {
  pageStart_ = list.page() * list.pageSize();
  visible_ = true;
  panel_.showPage(list.currentPage());
}

void DesktopPanelPresenter::hide() {
  if (!visible_) return;
  visible_ = false;
  panel_.hidePage();
}

void DesktopPanelPresenter::clickCandidate(std::size_t cursor) const {
  if (visible_ && actions_.candidateClicked) actions_.candidateClicked(pageStart_ + cursor);
}

}  // namespace yakdrom
