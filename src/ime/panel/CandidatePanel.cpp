#include "ime/panel/CandidatePanel.h"

#include <algorithm>
#include <array>

#include "ime/panel/WindowPlacement.h"

namespace yakdrom {
namespace {

constexpr double kMinWindowWidth = 140;
constexpr double kMaxWindowWidth = 480;
// Room below the rows for the page label.
constexpr double kPageLabelRoom = 14;

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

CandidatePanel::CandidatePanel(std::unique_ptr<CandidateWindowView> window,
                               std::unique_ptr<ExplanationBoxView> explanationWindow,
                               const Screens& screens, const TextMeasurer& measurer)
    : window_(std::move(window)),
      explanationBox_(std::move(explanationWindow), screens),
      screens_(screens),
      measurer_(measurer) {
  window_->setActions(
      {[this](std::size_t index) { clickRow(index); }, [this] { showFullExplanation(); }});
  applyTheme();
}

// The window is the last member to go; a click it delivered while being destroyed would
// reach members that are gone already.
CandidatePanel::~CandidatePanel() { window_->setActions({}); }

void CandidatePanel::setExplanationProvider(ExplanationProvider provider) {
  explanationProvider_ = std::move(provider);
}

void CandidatePanel::setPageSize(std::size_t size) { pageSize_ = std::max<std::size_t>(size, 1); }

void CandidatePanel::show(std::vector<std::string> candidates, const Rect& caret) {
  candidates_ = std::move(candidates);
  page_ = 0;
  selection_ = 0;
  explanationVisible_ = false;
  explanationBox_.hide();
  rebuild();
  const Rect frame = window_->frame();
  window_->setFrameOrigin(
      candidateWindowOrigin(caret, frame.size, screens_.screens(), screens_.mainScreen()));
  window_->orderFront();
}

void CandidatePanel::rebuild() {
  applyTheme();
  window_->display(content());
  const Size fitting = window_->fittingSize();
  window_->setContentSize({std::clamp(fitting.width, kMinWindowWidth, kMaxWindowWidth),
                           fitting.height + kPageLabelRoom});
  updateExplanationBox();
}

CandidateWindowContent CandidatePanel::content() const {
  CandidateWindowContent content{horizontal_, font_, explanationFont_, {}, {}, pageLabel()};
  const std::size_t start = page_ * pageSize_;
  const std::size_t end = std::min(start + pageSize_, candidates_.size());
  for (std::size_t i = start; i < end; ++i) content.rows.push_back(row(i));
  if (horizontal_ && selection_ < candidates_.size()) {
    if (auto text = explanation(selection_)) {
      const bool more =
          measurer_.singleLineWidth(*text, explanationFont_) > kLineExplanationMaxWidth;
      content.explanationLine = ExplanationLineContent{std::move(*text), more};
    }
  }
  return content;
}

CandidateRowContent CandidatePanel::row(std::size_t index) const {
  CandidateRowContent row;
  row.index = index;
  row.number = std::to_string(index - page_ * pageSize_ + 1);
  row.text = candidates_[index];
  row.isSelected = index == selection_;
  if (!horizontal_ && row.isSelected) {
    row.explanation = explanation(index);
    row.showsMoreButton =
        row.explanation &&
        measurer_.singleLineWidth(*row.explanation, explanationFont_) > kRowExplanationMaxWidth;
  }
  return row;
}

// An empty text counts as no explanation: nothing to show, nothing to open.
std::optional<std::string> CandidatePanel::explanation(std::size_t index) const {
  if (!explanationProvider_ || index >= candidates_.size()) return std::nullopt;
  auto text = explanationProvider_(candidates_[index]);
  if (text && text->empty()) return std::nullopt;
  return text;
}

std::string CandidatePanel::pageLabel() const {
  const std::size_t pages = (candidates_.size() + pageSize_ - 1) / pageSize_;
  if (pages < 2) return {};
  return std::to_string(page_ + 1) + "/" + std::to_string(pages);
}

void CandidatePanel::moveSelection(int step) {
  const auto n = static_cast<long long>(candidates_.size());
  if (n == 0) return;
  const long long moved = (static_cast<long long>(selection_) + step % n + n) % n;
  selection_ = static_cast<std::size_t>(moved);
  page_ = selection_ / pageSize_;
  rebuild();
}

void CandidatePanel::pressArrow(ArrowKey key) {
  for (const auto& rule : kArrowRules) {
    if (rule.key != key) continue;
    switch (horizontal_ ? rule.horizontal : rule.vertical) {
      case ArrowAction::previous:
        return moveSelection(-1);
      case ArrowAction::next:
        return moveSelection(+1);
      case ArrowAction::openExplanation:
        return setExplanationVisibleAndRebuild(true);
      case ArrowAction::closeExplanation:
        return setExplanationVisibleAndRebuild(false);
    }
  }
}

void CandidatePanel::setExplanationVisibleAndRebuild(bool visible) {
  if (explanationVisible_ == visible) return;
  explanationVisible_ = visible;
  rebuild();
}

std::optional<std::string> CandidatePanel::select(int number) {
  if (number < 1) return std::nullopt;
  const std::size_t index = page_ * pageSize_ + static_cast<std::size_t>(number) - 1;
  if (index >= candidates_.size()) return std::nullopt;
  selection_ = index;
  return candidates_[index];
}

void CandidatePanel::hide() {
  window_->orderOut();
  explanationBox_.hide();
  candidates_.clear();
}

void CandidatePanel::updateExplanationBox() {
  if (explanationVisible_) {
    if (auto text = explanation(selection_)) {
      explanationBox_.show(*text, explanationFont_, window_->frame(), horizontal_);
      return;
    }
  }
  explanationBox_.hide();
}

void CandidatePanel::clickRow(std::size_t index) {
  if (index >= candidates_.size()) return;
  selection_ = index;
  // A copy: confirming hides the panel, which empties the list.
  const std::string word = candidates_[index];
  if (onConfirm_) onConfirm_(word);
}

void CandidatePanel::showFullExplanation() { setExplanationVisibleAndRebuild(true); }

}  // namespace yakdrom
