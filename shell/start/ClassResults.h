#pragma once

// A class's results: what the program writes when a game ends, and what a view does with it
// once a child came in through a class's link.

#include "forms/ClassLink.h"
#include "start/Games.h"
#include "start/Module1.h"

#include <string>
#include <string_view>
#include <vector>

namespace zifferix {

enum class GameEnd { Won, Lost, Left };

// One problem the game posed, as its answer box is described ("7 mal 8"), and the answer.
struct ProblemRecord {
    std::string problem;
    std::string answer;
    bool right = false;
    double seconds = 0;
};

struct GameResult {
    Game game{};
    int level = 0;
    Integer points = 0;
    GameEnd end = GameEnd::Left;
    bool inRow = false;
    double seconds = 0;
    std::vector<ProblemRecord> problems;
};

// The result as the service takes it, without its "id" (the view adds one when it keeps it).
std::string resultJson(const GameResult& result, std::string_view child);

// The class a child joined and what a view does for it live beside the runtime's other
// services; the program names them here as well.
using forms::ClassInfo;
using forms::ClassLink;

} // namespace zifferix
