// libFuzzer over the checks every request body passes before anything is stored. Besides the
// sanitizers' findings, a body that is let through must keep every rule the storage relies on,
// and a refused one must say why in well-formed UTF-8.

#include "Utf8.h"
#include "Validation.h"

#include "start/Games.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

namespace {

using namespace zifferix::service;

void require(bool holds, const char* rule) {
    if (!holds) {
        std::fprintf(stderr, "broken rule: %s\n", rule);
        std::abort();
    }
}

bool textWithin(const std::string& text, std::size_t least, std::size_t most) {
    if (!validUtf8(text) || hasControl(text)) {
        return false;
    }
    const std::size_t length = characters(text);
    return length >= least && length <= most;
}

bool secondsWithin(double seconds) {
    return std::isfinite(seconds) && seconds >= 0 && seconds <= 86400;
}

void checkResult(const ResultBody& result) {
    require(isResultId(result.id), "the id is a uuid v4");
    require(isChildName(result.child), "the child's name is 1..24 characters");
    require(result.child.front() != ' ' && result.child.back() != ' ', "the name is trimmed");
    require(std::any_of(zifferix::kGames.begin(), zifferix::kGames.end(),
                        [&](const zifferix::GameInfo& game) { return game.link == result.game; }),
            "the game is one of the seven");
    require(result.level >= 1 && result.level <= 3, "the level is 1..3");
    require(result.points >= -100000 && result.points <= 100000, "the points are in range");
    require(outcomeNamed(outcomeName(result.outcome)) == result.outcome, "the end has a name");
    require(secondsWithin(result.seconds), "the game's seconds are 0..86400");
    require(result.problems.size() <= 500, "at most 500 problems");
    for (const ProblemBody& problem : result.problems) {
        require(textWithin(problem.problem, 1, 100), "a problem is 1..100 characters");
        require(textWithin(problem.answer, 0, 24), "an answer is 0..24 characters");
        require(secondsWithin(problem.seconds), "a problem's seconds are 0..86400");
    }
}

void checkClass(const ClassBody& body) {
    require(textWithin(body.name, 1, 60), "the class's name is 1..60 characters");
    require(body.children.size() <= 60, "at most 60 children");
    const std::set<std::string> unique(body.children.begin(), body.children.end());
    require(unique.size() == body.children.size(), "no child twice");
    for (const std::string& child : body.children) {
        require(isChildName(child), "a child's name is 1..24 characters");
    }
    require(!body.days || *body.days >= 1, "at least one day");
    require(!body.password || validUtf8(*body.password), "the password is UTF-8");
}

void checkRefusal(const std::string& fehler) {
    require(!fehler.empty(), "a refusal says why");
    require(validUtf8(fehler), "the message is well-formed UTF-8");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    std::string fehler;
    if (const auto result = parseResult(body, fehler)) {
        require(validUtf8(body), "only UTF-8 is let through");
        checkResult(*result);
    } else {
        checkRefusal(fehler);
    }
    fehler.clear();
    if (const auto opened = parseClass(body, fehler)) {
        require(validUtf8(body), "only UTF-8 is let through");
        checkClass(*opened);
    } else {
        checkRefusal(fehler);
    }
    return 0;
}
