#include <gtest/gtest.h>

#include "ime/fakes/FakePlatform.h"
#include "ime/fakes/FakeWindows.h"
#include "ime/panel/ExplanationBox.h"
#include "ime/panel/WindowPlacement.h"

namespace yakdrom {
namespace {

// A laptop screen with a 25-point bar at the top and a larger screen to its right.
const Screen kLaptop{{{0, 0}, {1440, 900}}, {{0, 0}, {1440, 875}}};
const Screen kMonitor{{{1440, 0}, {1920, 1080}}, {{1440, 0}, {1920, 1080}}};
const Screen kShort{{{0, 0}, {800, 200}}, {{0, 0}, {800, 200}}};

TEST(CandidateWindowOriginTest, UnderTheCaretUnlessOnlyAboveHasRoomAndAlwaysInsideTheScreen) {
  struct Case {
    Rect caret;
    Size window;
    std::vector<Screen> screens;
    std::optional<Screen> main;
    Point expected;
  };
  const Size w{200, 114};
  const std::vector<Screen> both{kLaptop, kMonitor};
  const Case cases[] = {
      // Plenty of room below: 4 under the caret, at its left edge.
      {{{300, 500}, {1, 20}}, w, both, kLaptop, {300, 382}},
      // Near the bottom: above the caret.
      {{{300, 100}, {1, 20}}, w, both, kLaptop, {300, 124}},
      // Exactly enough room below (114 + 8).
      {{{300, 122}, {1, 20}}, w, both, kLaptop, {300, 4}},
      // Above, but pushed down to stay 4 under the top of a short screen.
      {{{300, 60}, {1, 20}}, w, {kShort}, kShort, {300, 82}},
      // Too tall for either side, more room below: under, pulled up to the bottom margin.
      {{{300, 400}, {1, 20}},
       {200, 450},
       {{{{0, 0}, {800, 500}}, {{0, 0}, {800, 500}}}},
       std::nullopt,
       {300, 4}},
      // Near the right edge: shifted left, 4 inside.
      {{{1400, 500}, {1, 20}}, w, both, kLaptop, {1236, 382}},
      // Near the left edge: 4 inside.
      {{{2, 500}, {1, 20}}, w, both, kLaptop, {4, 382}},
      // On the second screen its own frame applies.
      {{{3300, 900}, {1, 20}}, w, both, kLaptop, {3156, 782}},
      // Origin outside every screen, rectangle overlapping the laptop.
      {{{-5, 500}, {10, 20}}, w, both, kMonitor, {4, 382}},
      // Nowhere near a screen: the main screen's frame clamps it.
      {{{5000, 5000}, {1, 20}}, w, both, kLaptop, {1236, 757}},
      // No screen at all: plainly under the caret.
      {{{300, 500}, {1, 20}}, w, {}, std::nullopt, {300, 382}},
      {{{3000, -50}, {1, 20}}, w, {}, std::nullopt, {3000, -168}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(describe(c.caret));
    EXPECT_EQ(candidateWindowOrigin(c.caret, c.window, c.screens, c.main), c.expected);
  }
}

TEST(ExplanationBoxWidthTest, AsWideAsTheAnchorWithinLimits) {
  struct Case {
    double anchorWidth;
    Rect area;
    double expected;
  };
  const Case cases[] = {
      {300, kLaptop.visibleFrame, 300},
      {100, kLaptop.visibleFrame, 160},
      {2000, kLaptop.visibleFrame, 1400},
      {300, {{0, 0}, {150, 500}}, 160},
      {300, Rect{}, 160},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.anchorWidth);
    EXPECT_EQ(explanationBoxWidth({{0, 0}, {c.anchorWidth, 50}}, c.area), c.expected);
  }
}

TEST(ExplanationBoxOriginTest, BelowOrBesideAndOnTheOtherSideWhenThereIsNoRoom) {
  struct Case {
    Rect anchor;
    Size box;
    bool below;
    Point expected;
  };
  const Case cases[] = {
      {{{300, 400}, {200, 114}}, {200, 100}, true, {300, 294}},
      // No room below: above the anchor.
      {{{300, 50}, {200, 114}}, {200, 100}, true, {300, 170}},
      // Beside on the right, tops aligned.
      {{{300, 400}, {200, 114}}, {200, 114}, false, {506, 400}},
      // No room on the right: on the left.
      {{{1300, 400}, {200, 114}}, {200, 114}, false, {1094, 400}},
      // Tops aligned would cross the top of the visible frame: pushed down.
      {{{300, 850}, {200, 114}}, {200, 100}, false, {506, 771}},
      // Left of the screen: pulled in.
      {{{-20, 400}, {200, 114}}, {200, 100}, true, {4, 294}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(describe(c.anchor));
    EXPECT_EQ(explanationBoxOrigin(c.anchor, c.box, kLaptop.visibleFrame, c.below), c.expected);
  }
}

TEST(ExplanationBoxTest, SizesItselfToTheTextBelowAndToTheAnchorBeside) {
  struct Case {
    Rect anchor;
    bool below;
    double textHeight;
    Size expected;
  };
  const Case cases[] = {
      {{{300, 400}, {200, 114}}, true, 60, {200, 80}},
      {{{300, 400}, {200, 114}}, true, 10, {200, 44}},
      {{{300, 400}, {200, 114}}, true, 5000, {200, 855}},
      {{{300, 400}, {200, 114}}, false, 5000, {200, 114}},
      {{{300, 400}, {100, 30}}, false, 60, {160, 44}},
  };
  testing::FakeScreens screens;
  screens.list = {kLaptop};
  for (const auto& c : cases) {
    SCOPED_TRACE(describe(c.anchor) + (c.below ? " below" : " beside"));
    auto view = std::make_unique<testing::FakeExplanationBoxView>();
    auto& v = *view;
    v.textHeight = c.textHeight;
    ExplanationBox box(std::move(view), screens);
    box.show("text", {"Serif", 13}, c.anchor, c.below);
    EXPECT_EQ(v.frame().size, c.expected);
    EXPECT_EQ(v.textWidth, c.expected.width - 24);
    EXPECT_TRUE(v.isVisible());
    box.hide();
    EXPECT_FALSE(v.isVisible());
  }
}

}  // namespace
}  // namespace yakdrom
