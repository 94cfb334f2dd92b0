#include <gtest/gtest.h>

#include "ime/controller/ControllerHarness.h"
#include "ime/session/InputSession.h"

namespace yakdrom::testing {
namespace {

class InputSessionTest : public ControllerHarness {
 protected:
  InputSessionTest() {
    // One controller per presenter: the session's takes the harness's place.
    controller.reset();
    session.emplace(services(), client);
    session->activate();
  }

  std::optional<InputSession> session;
};

TEST_F(InputSessionTest, EachKeySaysWhatItDidWithoutWatchingTheClient) {
  const KeyResult typed{true, std::nullopt, EngineOutput::makeMarked("བ")};
  EXPECT_EQ(session->press(kBa, 0), typed);
  EXPECT_EQ(session->press(kO, 0).engineOutput, EngineOutput::makeMarked("བོ"));
  EXPECT_TRUE(session->candidatesVisible());

  const KeyResult chord{false, std::nullopt, EngineOutput::makePassthrough()};
  EXPECT_EQ(session->press(KeyCode::kC, kCommandFlag), chord);

  const KeyResult taken{true, std::nullopt, std::nullopt};
  EXPECT_EQ(session->press(kDown, 0), taken);
  EXPECT_EQ(session->press(KeyCode::kReturn, 0).confirmed, "བོད་པ་");
  EXPECT_EQ(session->press(KeyCode::kEscape, 0), taken);
  EXPECT_FALSE(session->candidatesVisible());
  EXPECT_EQ(session->press(kSeven, 0).engineOutput, EngineOutput::makeCommit("༧"));
}

TEST_F(InputSessionTest, ANumberBeyondThePageIsTakenButConfirmsNothing) {
  settings.setCandidateCount(5);
  (void)session->press(kBa, 0);
  (void)session->press(kO, 0);
  const KeyResult swallowed{true, std::nullopt, std::nullopt};
  EXPECT_EQ(session->press(kSeven, 0), swallowed);
  EXPECT_EQ(session->press(kTwo, 0).confirmed, "བོད་པ་");
}

TEST_F(InputSessionTest, AClickConfirmsThroughThePresenterAndLeavingCommits) {
  (void)session->press(kBa, 0);
  (void)session->press(kO, 0);
  takeCalls();
  window->clickCandidate(3);
  EXPECT_EQ(takeCalls(), std::vector<Call>{inserted("བོད་སྐད་")});
  EXPECT_EQ(learntWords(), std::vector<std::string>{"བོད་སྐད་"});
  window->clickCandidate(99);  // a row the list no longer has
  EXPECT_TRUE(client.calls.empty());

  (void)session->press(kDa, 0);
  session->deactivate();
  EXPECT_EQ(takeCalls().back(), inserted("ད"));
}

// A desktop panel's arrows and page buttons, and a caret the client reports only after
// the key that opened the candidates.
TEST_F(InputSessionTest, ThePanelMovesWithTheCaretAndItsSelectionByCandidateOrPage) {
  settings.setCandidateCount(5);
  (void)session->press(kBa, 0);
  (void)session->press(kO, 0);
  const double shownAt = window->frame().origin.x;
  client.lineRect = Rect{{700, 400}, {2, 18}};
  session->caretMoved();
  EXPECT_EQ(window->frame().origin.x, shownAt + 400);

  const long long count = static_cast<long long>(session->candidates().candidates().size());
  session->moveSelection(1, false);
  EXPECT_EQ(session->candidates().selection(), 1U);
  session->moveSelection(-1, true);
  EXPECT_EQ(session->candidates().selection(),
            static_cast<std::size_t>((1 - 5 + 5 * count) % count));

  (void)session->press(KeyCode::kEscape, 0);
  session->moveSelection(1, false);
  session->caretMoved();
  EXPECT_FALSE(session->candidatesVisible());
}

}  // namespace
}  // namespace yakdrom::testing
