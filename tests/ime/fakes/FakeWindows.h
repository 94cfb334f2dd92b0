// Candidate-window and explanation-box views for tests: they remember what they were asked
// to draw, answer size queries with scripted values, and let a test press on rows.
#pragma once

#include <string>
#include <vector>

#include "ime/platform/CandidateWindowView.h"
#include "ime/platform/ExplanationBoxView.h"
#include "ime/platform/HeadlessWindow.h"

namespace yakdrom::testing {

class FakeCandidateWindowView final : public HeadlessWindow<CandidateWindowView> {
 public:
  FakeCandidateWindowView() : HeadlessWindow({200, 40}) {}

  void setActions(CandidateWindowActions actions) override { actions_ = std::move(actions); }
  void applyTheme() override {}
  void display(const CandidateWindowContent& content) override { displayed.push_back(content); }
  [[nodiscard]] Size fittingSize() const override { return fitting; }

  [[nodiscard]] const CandidateWindowContent& last() const { return displayed.back(); }
  void clickCandidate(std::size_t index) const { actions_.rowClicked(index); }
  void clickMoreButton() const { actions_.showFullExplanation(); }

  Size fitting{200, 100};
  std::vector<CandidateWindowContent> displayed;

 private:
  CandidateWindowActions actions_;
};

class FakeExplanationBoxView final : public HeadlessWindow<ExplanationBoxView> {
 public:
  FakeExplanationBoxView() : HeadlessWindow({360, 160}) {}

  void setText(std::string_view t, const Font& f) override {
    text = t;
    font = f;
  }
  void setTextWidth(double width) override { textWidth = width; }
  [[nodiscard]] double fittingTextHeight() const override { return textHeight; }

  std::string text;
  Font font;
  double textWidth = 0;
  double textHeight = 60;
};

}  // namespace yakdrom::testing
