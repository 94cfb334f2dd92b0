// The candidate window of programs without a display (the command line): it keeps what it
// was asked to draw, for printing, and estimates its size from the text. Main thread.
#pragma once

#include "ime/platform/CandidateWindowView.h"
#include "ime/platform/HeadlessWindow.h"
#include "ime/platform/TextMeasurer.h"

namespace yakdrom {

class HeadlessCandidateWindowView final : public HeadlessWindow<CandidateWindowView> {
 public:
  /// Measures with `measurer`, which must outlive the view.
  explicit HeadlessCandidateWindowView(const TextMeasurer& measurer);

  /// Does nothing: without a mouse there are no clicks to report.
  void setActions(CandidateWindowActions /*actions*/) override {}
  /// Does nothing: there are no colours here.
  void applyTheme() override {}
  /// Keeps `content`.
  void display(const CandidateWindowContent& content) override;
  /// Returns a size estimated from the kept content with the window's margins and spacing.
  [[nodiscard]] Size fittingSize() const override;

  /// Returns what the window was last asked to draw.
  [[nodiscard]] const CandidateWindowContent& content() const { return content_; }

 private:
  [[nodiscard]] Size rowSize(const CandidateRowContent& row) const;
  [[nodiscard]] Size stripSize() const;

  const TextMeasurer& measurer_;
  CandidateWindowContent content_;
  std::vector<CandidateRowContent> spareRows_;  // rows a shorter page left over
};

}  // namespace yakdrom
