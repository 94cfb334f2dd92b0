// The "Statistics" tab: the typing counters and the number of learnt words as they were at
// the last refresh, and a reset of the counters after a confirmation. Main thread.
#pragma once

#include <QLabel>
#include <array>

#include "ui/settings/FlatButton.h"
#include "ui/settings/PageView.h"
#include "ui/settings/SettingsPageContext.h"

namespace yakdrom {

class StatisticsPage final : public PageView {
 public:
  /// The figures shown, in page order.
  enum class Figure {
    characters,
    words,
    todayCharacters,
    weekCharacters,
    todayWords,
    weekWords,
    charactersPerWord,
    dictionaryEntries
  };
  static constexpr std::size_t kFigureCount = 8;

  explicit StatisticsPage(const SettingsPageContext& context);

  /// Reads every figure afresh.
  void refreshStats();
  /// Asks whether to reset the counters, and resets them when the user agrees.
  void clearStatsTapped();

  [[nodiscard]] QLabel& label(Figure figure) const {
    return *labels_[static_cast<std::size_t>(figure)];
  }
  [[nodiscard]] FlatButton& clearButton() const { return *clearButton_; }

 private:
  void reset();

  SettingsPageContext context_;
  std::array<QLabel*, kFigureCount> labels_{};
  FlatButton* clearButton_;
};

}  // namespace yakdrom
