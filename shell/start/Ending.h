#pragma once

// How a game ends: the rules every game follows for the points table and the row.

#include "forms/Controls.h"
#include "start/GameForm.h"
#include "start/Module1.h"

#include <string>

namespace zifferix {

// The label keeps the best score: a higher one replaces it, in the colour of its level.
void keepBestScore(forms::Label& points, Integer score, int level);

// A game option shows the highest level its game was won at.
void colourOption(forms::OptionButton& option, int level);

// A game won: in the row it hands over to the next game without a bonus; alone it adds the
// bonus of the level to what it has (after what is its own), keeps the best score in the table
// and hides. Its result has the points the table shows for it, in the row the game's own.
void endWon(GameForm& game, Integer bonus);

// A game lost: a screen reader hears why, and the game hides without a score.
void endLost(GameForm& game, const std::string& why);

} // namespace zifferix
