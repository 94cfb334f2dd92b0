#include "frontends/fcitx5/FcitxCandidateList.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace yakdrom {
namespace {

class PageCandidate final : public fcitx::CandidateWord {
 public:
  PageCandidate(const std::string& text, std::size_t index, std::function<void(std::size_t)> choose)
      : fcitx::CandidateWord(fcitx::Text(text)), index_(index), choose_(std::move(choose)) {}

  // Choosing shows a new list or none, which may free this word: the action runs from a copy.
  void select(fcitx::InputContext* /*context*/) const override {
    const auto choose = choose_;
    if (choose) choose(index_);
  }

 private:
  std::size_t index_;
  std::function<void(std::size_t)> choose_;
};

}  // namespace

FcitxCandidateList::FcitxCandidateList(const CandidatePage& page, FcitxCandidateActions actions)
    : actions_(std::move(actions)), hasPrev_(page.hasPreviousPage), hasNext_(page.hasNextPage) {
  // Fcitx refuses an empty page size.
  setPageSize(std::max(1, static_cast<int>(page.texts.size())));
  setLabels(page.labels);
  for (std::size_t i = 0; i < page.texts.size(); ++i) {
    append(std::make_unique<PageCandidate>(page.texts[i], i, actions_.choose));
  }
  setLayoutHint(page.horizontal ? fcitx::CandidateLayoutHint::Horizontal
                                : fcitx::CandidateLayoutHint::Vertical);
  if (page.cursor < page.texts.size()) setGlobalCursorIndex(static_cast<int>(page.cursor));
}

// Moving shows a new list in place of this one, which may free it: the action runs from a copy.
void FcitxCandidateList::moveSelection(int direction, bool pages) const {
  const auto action = actions_.moveSelection;
  if (action) action(direction, pages);
}

}  // namespace yakdrom
