#include "start/Ending.h"

namespace zifferix {

void keepBestScore(forms::Label& points, Integer score, int level) {
    if (forms::Val(points.Caption) < score) {
        points.Caption = forms::CStr(score);
        points.ForeColor = difficulty::color(level);
    }
}

void colourOption(forms::OptionButton& option, int level) {
    using namespace forms::colors;
    switch (difficulty::row(level) + 1) {
    case difficulty::Leicht:
        if (option.ForeColor != Orange && option.ForeColor != Yellow) {
            option.ForeColor = Green;
        }
        break;
    case difficulty::Normal:
        if (option.ForeColor != Orange) {
            option.ForeColor = Yellow;
        }
        break;
    default:
        option.ForeColor = Orange;
        break;
    }
}

void endWon(GameForm& game, Integer bonus) {
    Zifferix& program = game.program();
    Module1& shared = program.shared();
    if (shared.AllesHintereinander != 0) {
        game.finish(GameEnd::Won); // before the next game takes the points
        program.wonInRow(game);
        return;
    }
    game.beforeBonus();
    shared.Punkte = static_cast<Integer>(shared.Punkte + bonus);
    game.finish(GameEnd::Won);
    program.recordWin(game.game(), shared.Punkte, shared.Schwierigkeit);
    game.Hide();
}

void endLost(GameForm& game, const std::string& why) {
    game.finish(GameEnd::Lost);
    game.program().lost(why);
    game.Hide();
}

} // namespace zifferix
