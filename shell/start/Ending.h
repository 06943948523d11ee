#pragma once

// How a game ends: the rules every game follows for the points table and the row.

#include "forms/Controls.h"
#include "forms/Form.h"
#include "start/Module1.h"
#include "start/Zifferix.h"

namespace zifferix {

// The label keeps the best score: a higher one replaces it, in the colour of its level.
void keepBestScore(forms::Label& points, Integer score, int level);

// A game option shows the highest level its game was won at.
void colourOption(forms::OptionButton& option, int level);

// How most games end when won: in the row they hand over to the next game without a bonus;
// alone they add the bonus of the level, keep the best score in the table and hide.
void endWon(Zifferix& program, forms::Form& self, Integer bonus);

} // namespace zifferix
