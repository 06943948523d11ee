// What a child who cannot see the start screen hears: each game with its points, and what the
// start button will start.

#include "support/GameHarness.h"
#include "support/Play.h"

#include <gtest/gtest.h>

using namespace testing_support;
using namespace zifferix;

namespace {

// An arrow key in the list of games moves the focus to the start button: it says the choice.
TEST(SpokenStartScreen, SaysEachGamesPointsAndWhatTheStartButtonWillStart) {
    ProgramHarness h;
    h.run();
    frmstart& s = h.start();
    EXPECT_EQ(s.opt4.AccessibleName, "gegen die Spinne, 0 Punkte");
    EXPECT_EQ(s.opt4.AccessibleDescription, "Großes 1x1");
    EXPECT_EQ(s.cmdAnfang.AccessibleDescription,
              "noch kein Spiel gewählt, noch keine Schwierigkeit gewählt");
    h.click(s.opt4);
    h.click(s.optSchwer);
    EXPECT_EQ(s.cmdAnfang.AccessibleDescription, "gegen die Spinne, voll schwer");
    h.click(s.cmdAnfang);
    winGame(h, Game::Netz);
    EXPECT_TRUE(h.said().ends_with("Gewonnen! 45 Punkte."));
    ASSERT_EQ(h.active(), &s);
    EXPECT_EQ(s.opt4.AccessibleName, "gegen die Spinne, 45 Punkte, voll schwer");
    EXPECT_EQ(s.opt1.AccessibleName, "die Zeit läuft, 0 Punkte");
    EXPECT_EQ(s.cmdAnfang.AccessibleDescription,
              "noch kein Spiel gewählt, noch keine Schwierigkeit gewählt");
}

} // namespace
