#include "ime/controller/CommittedContext.h"

#include <algorithm>
#include <cassert>

#include "engine/text/Text.h"
#include "ime/controller/CandidateAssembly.h"

namespace yakdrom {

// Text appended to a context leaves every boundary before the context's last character
// where it was: only that character can join what follows.
void CommittedContext::append(std::string_view committed) {
  const std::size_t from = starts_.empty() ? 0 : starts_.back();
  if (!starts_.empty()) starts_.pop_back();
  text_ += committed;
  const std::string_view rest = std::string_view(text_).substr(from);
  thread_local std::vector<std::string_view> added;
  text::charactersInto(rest, added);
  // Text the breaker cannot split still counts as a character.
  if (added.empty() && !rest.empty()) added.push_back(rest);
  for (const std::string_view character : added) {
    starts_.push_back(static_cast<std::size_t>(character.data() - text_.data()));
  }
  trim();
  afterSeparatorBeforeLast_ =
      endOfLastSeparator(text_, starts_, starts_.size() - std::min<std::size_t>(starts_.size(), 1));
  ++version_;
}

void CommittedContext::clear() {
  text_.clear();
  starts_.clear();
  afterSeparatorBeforeLast_.reset();
  ++version_;
}

void CommittedContext::trim() {
  if (starts_.size() <= kMaxCharacters) return;
  const std::size_t first = starts_.size() - kMaxCharacters;
  std::size_t cut = starts_[first];
  for (std::size_t k = first; k < starts_.size(); ++k) {
    if (const auto character = characterAt(text_, starts_, k); isSeparator(character)) {
      cut = starts_[k] + character.size();
      break;
    }
  }
  text_.erase(0, cut);
  starts_.erase(starts_.begin(), std::lower_bound(starts_.begin(), starts_.end(), cut));
  for (std::size_t& start : starts_) start -= cut;
}

CommittedContext::Continuation CommittedContext::continuation(std::string_view joined) const {
  assert(joined.starts_with(text_));
  const std::size_t from = starts_.empty() ? 0 : starts_.back();
  // Kept by the thread: a continuation is asked for on every key.
  thread_local std::vector<std::string_view> tail;
  text::charactersInto(joined.substr(from), tail);
  Continuation continuation{starts_.empty() ? joined : std::string_view{},
                            afterSeparatorBeforeLast_};
  if (!starts_.empty() && tail.size() > 1) {
    continuation.afterContext = joined.substr(from + tail[0].size());
  }
  const auto separator = std::find_if(tail.rbegin(), tail.rend(), isSeparator);
  if (separator != tail.rend()) {
    continuation.afterLastSeparator =
        static_cast<std::size_t>(separator->data() - joined.data()) + separator->size();
  }
  return continuation;
}

}  // namespace yakdrom
