#include "ime/panel/CandidateList.h"

#include <algorithm>
#include <array>

#include "ime/platform/ResizeKeepingRoom.h"

namespace yakdrom {
namespace {

enum class ArrowAction { previous, next, openExplanation, closeExplanation };

struct ArrowRule {
  ArrowKey key;
  ArrowAction horizontal;
  ArrowAction vertical;
};

constexpr std::array<ArrowRule, 4> kArrowRules = {{
    {ArrowKey::left, ArrowAction::previous, ArrowAction::closeExplanation},
    {ArrowKey::right, ArrowAction::next, ArrowAction::openExplanation},
    {ArrowKey::down, ArrowAction::openExplanation, ArrowAction::next},
    {ArrowKey::up, ArrowAction::closeExplanation, ArrowAction::previous},
}};

}  // namespace

void CandidateList::setExplanationProvider(ExplanationProvider provider) {
  explanationProvider_ = std::move(provider);
}

void CandidateList::setPageSize(std::size_t size) { pageSize_ = std::max<std::size_t>(size, 1); }

std::optional<std::string> CandidateList::selected() const {
  if (selection_ >= candidates_.size()) return std::nullopt;
  return candidates_[selection_];
}

bool CandidateList::setExplanationVisible(bool visible) {
  if (explanationVisible_ == visible) return false;
  explanationVisible_ = visible;
  return true;
}

void CandidateList::reset(std::vector<std::string> candidates) {
  candidates_ = std::move(candidates);
  page_ = 0;
  selection_ = 0;
  explanationVisible_ = false;
}

void CandidateList::moveSelection(int step) {
  const auto n = static_cast<long long>(candidates_.size());
  if (n == 0) return;
  const long long moved = (static_cast<long long>(selection_) + step % n + n) % n;
  selection_ = static_cast<std::size_t>(moved);
  page_ = selection_ / pageSize_;
}

bool CandidateList::pressArrow(ArrowKey key) {
  for (const auto& rule : kArrowRules) {
    if (rule.key != key) continue;
    switch (horizontal_ ? rule.horizontal : rule.vertical) {
      case ArrowAction::previous:
        moveSelection(-1);
        return true;
      case ArrowAction::next:
        moveSelection(+1);
        return true;
      case ArrowAction::openExplanation:
        return setExplanationVisible(true);
      case ArrowAction::closeExplanation:
        return setExplanationVisible(false);
    }
  }
  return false;
}

std::optional<std::string> CandidateList::select(int number) {
  if (number < 1) return std::nullopt;
  return selectIndex(pageStart() + static_cast<std::size_t>(number) - 1);
}

std::optional<std::string> CandidateList::selectIndex(std::size_t index) {
  if (index >= candidates_.size()) return std::nullopt;
  selection_ = index;
  return candidates_[index];
}

std::optional<std::string> CandidateList::explanation(std::size_t index) const {
  if (!explanationProvider_ || index >= candidates_.size()) return std::nullopt;
  auto text = explanationProvider_(candidates_[index]);
  if (text && text->empty()) return std::nullopt;
  return text;
}

std::optional<std::string> CandidateList::boxExplanation() const {
  return explanationVisible_ ? explanation(selection_) : std::nullopt;
}

std::size_t CandidateList::pageEnd() const {
  return std::min(pageStart() + pageSize_, candidates_.size());
}

std::string CandidateList::number(std::size_t index) const {
  return std::to_string(index - pageStart() + 1);
}

// The window is redrawn on every key: the rows keep their strings' buffers from the last page.
void CandidateList::windowContentInto(const TextMeasurer& measurer, CandidateWindowContent& content,
                                      std::vector<CandidateRowContent>& spareRows) const {
  content.horizontal = horizontal_;
  content.columns = grid() ? kGridColumns : 1;
  content.font = font_;
  content.explanationFont = explanationFont_;
  resizeKeepingRoom(content.rows, pageEnd() - std::min(pageStart(), pageEnd()), spareRows);
  for (std::size_t i = pageStart(); i < pageEnd(); ++i) {
    rowInto(i, measurer, content.rows[i - pageStart()]);
  }
  content.explanationLine.reset();
  content.pageLabel = pageLabel();
  if (explainsUnderRows()) {
    if (auto text = explanation(selection_)) {
      const bool more =
          measurer.singleLineWidth(*text, explanationFont_) > kLineExplanationMaxWidth;
      content.explanationLine = ExplanationLineContent{std::move(*text), more};
    }
  }
}

void CandidateList::rowInto(std::size_t index, const TextMeasurer& measurer,
                            CandidateRowContent& row) const {
  row.index = index;
  row.number = number(index);
  row.text.assign(candidates_[index]);
  row.isSelected = index == selection_;
  row.explanation.reset();
  row.showsMoreButton = false;
  if (!explainsUnderRows() && row.isSelected) {
    row.explanation = explanation(index);
    row.showsMoreButton =
        row.explanation &&
        measurer.singleLineWidth(*row.explanation, explanationFont_) > kRowExplanationMaxWidth;
  }
}

CandidatePage CandidateList::currentPage() const {
  CandidatePage page;
  for (std::size_t i = pageStart(); i < pageEnd(); ++i) {
    page.texts.push_back(candidates_[i]);
    page.labels.push_back(number(i));
  }
  page.cursor = selection_ - std::min(selection_, pageStart());
  page.horizontal = horizontal_;
  page.pageLabel = pageLabel();
  // A desktop panel has one line for explanations: the selected candidate's.
  page.explanation = empty() ? std::nullopt : explanation(selection_);
  page.hasPreviousPage = page_ > 0;
  page.hasNextPage = pageEnd() < candidates_.size();
  return page;
}

std::string CandidateList::pageLabel() const {
  const std::size_t pages = (candidates_.size() + pageSize_ - 1) / pageSize_;
  if (pages < 2) return {};
  return std::to_string(page_ + 1) + "/" + std::to_string(pages);
}

}  // namespace yakdrom
