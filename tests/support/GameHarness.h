#pragma once

// Helpers shared by the games' tests: starting a game at a level, and scripting its draws.

#include "support/ProgramHarness.h"

namespace testing_support {

enum Level { Leicht = 1, Normal = 2, VollSchwer = 3 };

// Starts a game from the start screen at a level; in the row, as if the games before it had
// been won with no points.
inline void showGame(ProgramHarness& h, zifferix::Game game, Level level, bool row = false) {
    h.runtime.run([&] {
        h.shared().Schwierigkeit = static_cast<forms::Integer>(level);
        h.shared().Punkte = 0;
        h.shared().GesamtPunkte = 0;
        h.start().startGame(game, row);
    });
}

inline forms::OptionButton& levelOption(zifferix::frmstart& s, Level level) {
    return level == Leicht ? s.optEinfach : level == Normal ? s.optMittel : s.optSchwer;
}

} // namespace testing_support
