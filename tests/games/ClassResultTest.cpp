// In a class, every game ended is one result: the game, the level, the points the start screen
// shows, how it ended, and every problem with the answer given, in virtual time.

#include "support/FakeClass.h"
#include "support/GameHarness.h"
#include "support/Play.h"

#include <gtest/gtest.h>

using namespace testing_support;
using zifferix::frmstart;
using zifferix::Game;

namespace {

struct GameCase {
    Game game;
    forms::OptionButton frmstart::*option;
    forms::Label frmstart::*points;
    // Whether the problem stays after a wrong answer, so that the next answer is to it.
    bool staysAfterWrong;
};

const GameCase kGames[] = {
    {Game::Uhr, &frmstart::opt1, &frmstart::lblPunkte1, true},
    {Game::Berg, &frmstart::opt2, &frmstart::lblPunkte2, false},
    {Game::Bruchteile, &frmstart::opt3, &frmstart::lblPunkte3, true},
    {Game::Netz, &frmstart::opt4, &frmstart::lblPunkte4, true},
    {Game::Waage, &frmstart::opt5, &frmstart::lblPunkte5, false},
    {Game::Ballon, &frmstart::opt6, &frmstart::lblPunkte6, false},
    {Game::Wander, &frmstart::opt8, &frmstart::lblPunkte8, true},
};

// An answer that is not the right one, and fits every game's box.
std::string wrongTo(const std::string& right) {
    return right == "1" ? "2" : "1";
}

std::string rightAnswer(ProgramHarness& h, Game game) {
    return *answerFor(h.program, h.program.screen(game));
}

// A wrong answer to the first problem; the balance asks for the next one.
void answerWrong(ProgramHarness& h, Game game) {
    h.type(wrongTo(rightAnswer(h, game)) + "\r");
    if (game == Game::Waage) {
        h.type("\r");
    }
}

int pointsShown(ProgramHarness& h, const GameCase& c) {
    return static_cast<int>(forms::Val((h.start().*c.points).Caption));
}

TEST(ClassResult, AGameWonIsOneResultWithEveryProblemAndThePointsTheStartScreenShows) {
    for (const GameCase& c : kGames) {
        for (const Level level : {Leicht, VollSchwer}) {
            ClassHarness h;
            h.run();
            SCOPED_TRACE(h.program.screen(c.game).name() + " at " + std::to_string(level));
            h.startGame(h.start().*c.option, levelOption(h.start(), level));
            getReady(h, c.game);
            const std::string problem =
                h.program.screen(c.game).ActiveControl() != nullptr
                    ? h.program.screen(c.game).ActiveControl()->AccessibleDescription
                    : "";
            const std::string wrong = wrongTo(rightAnswer(h, c.game));
            h.advance(1500); // the child thinks
            answerWrong(h, c.game);
            answerToWin(h, c.game);
            ASSERT_EQ(h.active(), &h.start());

            const std::vector<Json> results = h.link.read();
            ASSERT_EQ(results.size(), 1u);
            ASSERT_EQ(h.link.results.size(), 1u) << "every body is JSON";
            const Json& r = results[0];
            EXPECT_EQ(r["kind"].text(), "Mia");
            EXPECT_EQ(r["spiel"].text(), zifferix::info(c.game).link);
            EXPECT_EQ(r["stufe"].number(), level);
            EXPECT_EQ(r["punkte"].number(), pointsShown(h, c));
            EXPECT_EQ(r["ergebnis"].text(), "gewonnen");
            EXPECT_FALSE(r["reihe"].boolean());
            EXPECT_GE(r["sekunden"].number(), 1.5);

            const Json::Array& problems = r["aufgaben"].array();
            ASSERT_GE(problems.size(), 2u);
            EXPECT_EQ(problems[0]["aufgabe"].text(), problem);
            EXPECT_EQ(problems[0]["antwort"].text(), wrong);
            EXPECT_FALSE(problems[0]["richtig"].boolean());
            EXPECT_GE(problems[0]["sekunden"].number(), 1.5);
            if (c.staysAfterWrong) {
                EXPECT_EQ(problems[1]["aufgabe"].text(), problem) << "answered again";
            }
            double seconds = 0;
            for (std::size_t i = 1; i < problems.size(); ++i) {
                EXPECT_TRUE(problems[i]["richtig"].boolean()) << i;
                EXPECT_FALSE(problems[i]["aufgabe"].text().empty()) << i;
                seconds += problems[i]["sekunden"].number();
            }
            EXPECT_LE(seconds, r["sekunden"].number() + 0.1 * static_cast<double>(problems.size()));
        }
    }
}

// Time passes in the program only while a timer runs: in a class a game keeps one running,
// so that a problem's seconds are the child's, also in a game that has no timer of its own.
TEST(ClassResult, SecondsComeFromVirtualTimeThatRunsWhileTheChildThinks) {
    const std::pair<int, int> delays[] = {{2500, 1200}, {0, 300}, {61000, 100}};
    for (const auto& [first, second] : delays) {
        ClassHarness h;
        h.run();
        h.startGame(h.start().opt4, h.start().optMittel);
        EXPECT_TRUE(h.runtime.nextDue().has_value()) << "the spider's time passes";
        h.advance(first);
        answerWrong(h, Game::Netz);
        h.advance(second);
        h.type(rightAnswer(h, Game::Netz) + "\r");
        h.click(static_cast<zifferix::frmNetz&>(h.program.screen(Game::Netz)).cmdEnde);

        const std::vector<Json> results = h.link.read();
        ASSERT_EQ(results.size(), 1u);
        const Json& r = results[0];
        EXPECT_EQ(r["ergebnis"].text(), "verlassen");
        EXPECT_DOUBLE_EQ(r["sekunden"].number(), (first + second) / 1000.0);
        ASSERT_EQ(r["aufgaben"].array().size(), 2u);
        EXPECT_DOUBLE_EQ(r["aufgaben"][0]["sekunden"].number(), first / 1000.0);
        EXPECT_DOUBLE_EQ(r["aufgaben"][1]["sekunden"].number(), second / 1000.0);
        EXPECT_FALSE(h.runtime.nextDue().has_value()) << "the start screen stands still";
    }
}

TEST(ClassResult, OutsideAClassNoTimeRunsForARecord) {
    ProgramHarness h;
    h.run();
    h.startGame(h.start().opt4, h.start().optMittel);
    EXPECT_FALSE(h.runtime.nextDue().has_value()) << "the spider waits without a timer";
}

// Each way a game ends is one result, and the ways that follow it add none.
struct EndCase {
    const char* what;
    Game game;
    void (*play)(ClassHarness&);
    const char* ends;
    std::size_t results;
    int points; // of the last result: what the game had when it ended
};

void loseTheSpider(ClassHarness& h) {
    for (int i = 0; i < 12; ++i) {
        answerWrong(h, Game::Netz);
    }
}
void runOutOfTime(ClassHarness& h) {
    getReady(h, Game::Uhr);
    h.type(rightAnswer(h, Game::Uhr) + "\r");
    h.advance(63 * 1000);
    h.click(static_cast<zifferix::frmUhr&>(h.program.screen(Game::Uhr)).cmdEnde);
}
void runOutOfTimeThenWin(ClassHarness& h) {
    getReady(h, Game::Uhr);
    h.advance(63 * 1000);
    h.click(static_cast<zifferix::frmUhr&>(h.program.screen(Game::Uhr)).start);
    answerToWin(h, Game::Uhr);
}
void emptyTheGlass(ClassHarness& h) {
    getReady(h, Game::Bruchteile);
    answerWrong(h, Game::Bruchteile);
    h.advance(5 * 60 * 1000);
}
void useUpTheFlyingNumbers(ClassHarness& h) {
    getReady(h, Game::Wander);
    for (int i = 0; i < 21; ++i) {
        answerWrong(h, Game::Wander);
    }
}
void closeTheWindow(ClassHarness& h) {
    answerWrong(h, Game::Waage);
    h.runtime.close(h.program.screen(Game::Waage));
}
void leaveTheFlyingNumbers(ClassHarness& h) {
    getReady(h, Game::Wander);
    answerWrong(h, Game::Wander);
    h.click(static_cast<zifferix::frmWander&>(h.program.screen(Game::Wander)).cmdEnde);
}
void leaveBeforeAnswering(ClassHarness& h) {
    h.runtime.close(h.program.screen(Game::Netz));
}

// At normal: the spider starts with 18 and loses 2 for each of the 11 wrong answers before
// the last; the clock has 1 for its one right answer, and 20 and its bonus of 10 when won; the
// glass starts with 37 and an answer costs 1; flying numbers start with 1, gain 2 for a problem
// and lose 2 for a wrong answer; the balance starts with 22.
const EndCase kEnds[] = {
    {"the spider's web complete", Game::Netz, loseTheSpider, "verloren", 1, 18 - 11 * 2},
    {"time up in the clock race, then out", Game::Uhr, runOutOfTime, "verloren", 1, 1},
    {"time up, then won on the second try", Game::Uhr, runOutOfTimeThenWin, "gewonnen", 2, 30},
    {"the glass empty", Game::Bruchteile, emptyTheGlass, "verloren", 1, 36},
    {"no answer left in flying numbers", Game::Wander, useUpTheFlyingNumbers, "verloren", 1,
     1 + 2 - 21 * 2},
    {"the balance's window closed", Game::Waage, closeTheWindow, "verlassen", 1, 20},
    {"home from flying numbers", Game::Wander, leaveTheFlyingNumbers, "verlassen", 1, 1},
    {"left before any answer", Game::Netz, leaveBeforeAnswering, "", 0, 0},
};

TEST(ClassResult, EveryWayAGameEndsIsOneResult) {
    for (const EndCase& c : kEnds) {
        SCOPED_TRACE(c.what);
        ClassHarness h;
        h.run();
        const GameCase& game = kGames[static_cast<std::size_t>(c.game)];
        h.startGame(h.start().*game.option, h.start().optMittel);
        c.play(h);
        ASSERT_EQ(h.active(), &h.start());
        const std::vector<Json> results = h.link.read();
        ASSERT_EQ(results.size(), c.results);
        if (c.results == 0) {
            continue;
        }
        const Json& last = results.back();
        EXPECT_EQ(last["ergebnis"].text(), c.ends);
        EXPECT_EQ(last["spiel"].text(), zifferix::info(c.game).link);
        EXPECT_FALSE(last["aufgaben"].array().empty());
        EXPECT_EQ(last["punkte"].number(), c.points);
        if (c.results == 2) {
            EXPECT_EQ(results[0]["ergebnis"].text(), "verloren");
            EXPECT_EQ(results[0]["aufgaben"].array().size(), 0u) << "nothing answered in time";
            EXPECT_EQ(last["aufgaben"].array().size(), 20u) << "the second try's own";
        }
    }
}

// In the row each game is a result of its own, with its own points; leaving ends the row.
TEST(ClassResult, TheRowsGamesAreResultsOfTheirOwnWithTheirOwnPoints) {
    ClassHarness h;
    h.run();
    showGame(h, Game::Ballon, Normal, true);
    answerToWin(h, Game::Ballon);
    winGame(h, Game::Wander);
    getReady(h, Game::Bruchteile);
    answerWrong(h, Game::Bruchteile);
    const int had = h.shared().Punkte;
    h.runtime.close(h.program.screen(Game::Bruchteile));
    ASSERT_EQ(h.active(), &h.start());

    const std::vector<Json> results = h.link.read();
    ASSERT_EQ(results.size(), 3u);
    const std::tuple<const char*, const char*, int> expected[] = {
        {"ballon", "gewonnen", 20}, {"zahlen", "gewonnen", 25}, {"glas", "verlassen", had}};
    for (std::size_t i = 0; i < results.size(); ++i) {
        const auto& [game, ends, points] = expected[i];
        SCOPED_TRACE(game);
        EXPECT_EQ(results[i]["spiel"].text(), game);
        EXPECT_EQ(results[i]["ergebnis"].text(), ends);
        EXPECT_EQ(results[i]["punkte"].number(), points);
        EXPECT_TRUE(results[i]["reihe"].boolean());
        EXPECT_EQ(results[i]["stufe"].number(), 2);
    }
}

} // namespace
