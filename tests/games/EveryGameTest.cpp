// What every game owes a child, whichever game it is.

#include "balloon/Masses.h"
#include "forms/Geometry.h"
#include "mountain/Lengths.h"
#include "start/Spoken.h"
#include "support/GameHarness.h"
#include "support/Play.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

using namespace testing_support;
using zifferix::frmstart;
using zifferix::Game;

namespace {

struct GameCase {
    Game game;
    forms::OptionButton frmstart::*option;
    forms::Label frmstart::*points;
    // How much time passes before the child can act.
    int ticksToGetReady;
    // Where the child acts first: the start button where the game has one, else the box.
    std::string firstAct;
};

const GameCase kGames[] = {
    {Game::Uhr, &frmstart::opt1, &frmstart::lblPunkte1, 0, "cmdAnfang"},
    {Game::Berg, &frmstart::opt2, &frmstart::lblPunkte2, 0, "cmdLos"},
    {Game::Bruchteile, &frmstart::opt3, &frmstart::lblPunkte3, 667, "txtErgebnis"},
    {Game::Netz, &frmstart::opt4, &frmstart::lblPunkte4, 0, "txtergebnis"},
    {Game::Waage, &frmstart::opt5, &frmstart::lblPunkte5, 0, "txtErgebnis"},
    {Game::Ballon, &frmstart::opt6, &frmstart::lblPunkte6, 60, "txtEing"},
    {Game::Wander, &frmstart::opt8, &frmstart::lblPunkte8, 0, "cmdStart"},
};

enum class Ending { Won, Closed };

std::string focused(const forms::Form& form) {
    return form.ActiveControl() != nullptr ? form.ActiveControl()->name() : "nothing";
}

TEST(EveryGame, StartsAgainWithTheFocusWhereTheChildActsFirst) {
    for (const GameCase& c : kGames) {
        for (const Ending ending : {Ending::Won, Ending::Closed}) {
            ProgramHarness h;
            h.run();
            forms::Form& game = h.program.screen(c.game);
            SCOPED_TRACE(game.name() + (ending == Ending::Won ? " after a win" : " closed"));
            h.startGame(h.start().*c.option, h.start().optMittel);
            h.ticks(c.ticksToGetReady);
            EXPECT_EQ(focused(game), c.firstAct) << "the first game";
            if (ending == Ending::Won) {
                winGame(h, c.game);
            } else {
                h.runtime.close(game);
            }
            ASSERT_EQ(h.active(), &h.start());

            h.startGame(h.start().*c.option, h.start().optMittel);
            h.ticks(c.ticksToGetReady);
            EXPECT_EQ(focused(game), c.firstAct) << "the second game";
        }
    }
}

// The spider asks for 16 right answers and flying numbers for 12: the instructions say so.
TEST(EveryGame, InstructionsNameTheTargetTheGameKeepsTo) {
    const std::pair<const char*, std::vector<std::string>> promises[] = {
        {"spider.html", {"nun 16 Multiplikationen", "die 16 Aufgaben"}},
        {"flying.html", {"Für 12 richtige Lösungen hast du 20 Versuche."}},
    };
    for (const auto& [file, phrases] : promises) {
        std::ifstream in(std::string(ZIFFERIX_ASSETS) + "/instructions/" + file);
        ASSERT_TRUE(in) << file;
        std::stringstream text;
        text << in.rdbuf();
        for (const std::string& phrase : phrases) {
            EXPECT_NE(text.str().find(phrase), std::string::npos) << file << ": " << phrase;
        }
    }
}

// A single game won at a level colours its option and its points label by that level, from a
// fresh start screen; a label shows no colour of a game it does not belong to.
TEST(EveryGame, AWinColoursItsOwnOptionAndPointsLabelByTheLevel) {
    const std::pair<Level, forms::Color> levels[] = {
        {Leicht, 0x00FF00}, {Normal, 0x00FFFF}, {VollSchwer, 0x0080FF}};
    for (const GameCase& c : kGames) {
        for (const auto& [level, colour] : levels) {
            ProgramHarness h;
            h.run();
            frmstart& s = h.start();
            SCOPED_TRACE(h.program.screen(c.game).name() + " at level " + std::to_string(level));
            h.startGame(s.*c.option, levelOption(s, level));
            h.ticks(c.ticksToGetReady);
            winGame(h, c.game);
            ASSERT_EQ(h.active(), &s);
            EXPECT_EQ((s.*c.option).ForeColor, colour);
            EXPECT_EQ((s.*c.points).ForeColor, colour);
            EXPECT_NE((s.*c.points).Caption, "0");
            for (const GameCase& other : kGames) {
                if (other.option != c.option) {
                    EXPECT_EQ((s.*other.option).ForeColor, forms::colors::Black);
                    EXPECT_EQ((s.*other.points).Caption, "0");
                }
            }
        }
    }
}

// Where a control shows on its form, frames around it counted: its right and bottom edges. A
// transparent label shows only its text, placed in its box as it is aligned.
std::pair<int, int> farEdges(const forms::Control& c, const forms::TextMetricsService& metrics) {
    int right = c.Left + c.Width;
    int bottom = c.Top + c.Height;
    if (c.kind() == forms::ControlKind::Line) {
        const auto& line = static_cast<const forms::Line&>(c);
        right = std::max(line.X1, line.X2);
        bottom = std::max(line.Y1, line.Y2);
    } else if (c.kind() == forms::ControlKind::Label &&
               static_cast<const forms::Label&>(c).Transparent) {
        const auto& label = static_cast<const forms::Label&>(c);
        const int text = metrics.measure(label.Font, label.Caption).Width;
        const int unused = std::max(0, c.Width - text);
        right -= label.Alignment == forms::TextAlign::Left     ? unused
                 : label.Alignment == forms::TextAlign::Center ? unused / 2
                                                               : 0;
    }
    for (const forms::Frame* f = c.container(); f != nullptr; f = f->container()) {
        right += f->Left;
        bottom += f->Top;
    }
    return {right, bottom};
}

// Flying numbers fly over the whole window: they keep to it, the rest to the layout's area.
bool keepsToTheWindow(const forms::Form& form, const forms::Control& c) {
    return form.name() == "frmWander" && c.name().starts_with("lblZahl");
}

void expectInside(ProgramHarness& h, const forms::Form& form, const char* when) {
    const forms::LayoutArea area = forms::areaOf(forms::layoutFor(h.runtime.screenWidth()));
    for (const forms::Control* c : form.controls()) {
        // The mountain's summit runs on past the window's edge, where the ball leaves the screen.
        if (!c->shown() || (form.name() == "frmBerg" && c->name() == "ln5")) {
            continue;
        }
        const bool window = keepsToTheWindow(form, *c);
        const auto [right, bottom] = farEdges(*c, h.fakes.textMetrics);
        EXPECT_LE(right, window ? form.ScaleWidth : area.width)
            << form.name() << "." << c->name() << " " << when;
        EXPECT_LE(bottom, window ? form.ScaleHeight : area.height)
            << form.name() << "." << c->name() << " " << when;
    }
}

// The area the zoom fits to a view holds every screen of its layout, in play as well, and with
// more time the sign that says so.
TEST(EveryScreen, LiesInsideTheAreaItsLayoutIsFittedBy) {
    for (const int width : {kLargeScreen, kSmallScreen}) {
        for (const bool moreTime : {false, true}) {
            ProgramHarness h(width);
            h.program.giveMoreTime(moreTime);
            h.run();
            expectInside(h, h.start(), "on the start screen");
            for (const GameCase& c : kGames) {
                h.startGame(h.start().*c.option, h.start().optMittel);
                forms::Form& game = h.program.screen(c.game);
                expectInside(h, game, "at the start");
                h.ticks(c.ticksToGetReady);
                h.type("\r");
                h.ticks(100);
                expectInside(h, game, "at the first problem");
                h.runtime.close(game);
            }
        }
    }
}

TEST(EveryGame, SaysItsKindOfProblemAsAChildWouldSayIt) {
    const auto cm = zifferix::kLengths.unit(2).words;
    const auto m = zifferix::kLengths.unit(4).words;
    const auto t = zifferix::kMasses.unit(4).words;
    const auto kg = zifferix::kMasses.unit(3).words;
    const std::pair<std::string, std::string> cases[] = {
        {zifferix::spoken::fraction(3, 4), "drei Viertel"},
        {zifferix::spoken::fraction(1, 2), "ein Halb"},
        {zifferix::spoken::fraction(3, 2), "drei Halbe"},
        {zifferix::spoken::fraction(7, 1), "sieben Eintel"},
        {zifferix::spoken::fraction(10, 9), "zehn Neuntel"},
        {zifferix::spoken::fraction(11, 12), "11 durch 12"},
        {zifferix::spoken::missingSummand("12", "5", "9"), "12 plus 5 ist gleich 9 plus wie viel?"},
        {zifferix::spoken::signedSum({"12", "-5", "7"}), "12 minus 5 plus 7"},
        {zifferix::spoken::signedSum({"-3", "8", "-4"}), "minus 3 plus 8 minus 4"},
        {zifferix::spoken::number(" 7"), "7"},
        {zifferix::spoken::count(1, "Sekunde", "Sekunden"), "1 Sekunde"},
        {zifferix::spoken::count(50, "Sekunde", "Sekunden"), "50 Sekunden"},
        {zifferix::conversionQuestion("345,6", cm, m), "345,6 Zentimeter sind wie viel Meter?"},
        {zifferix::conversionQuestion("1", t, kg), "1 Tonne ist wie viel Kilogramm?"},
        {zifferix::conversionQuestion("0,5", t, kg), "0,5 Tonnen sind wie viel Kilogramm?"},
    };
    for (const auto& [said, expected] : cases) {
        EXPECT_EQ(said, expected);
    }
}

// A child who cannot see the screen hears each game as a sighted child sees it: the problem in
// the box's description, the verdict with what it changed, and the end with the points.
TEST(EveryGame, TellsAChildWhoCannotSeeTheProblemTheVerdictAndTheWin) {
    const std::pair<Game, std::string> firstWrong[] = {
        {Game::Uhr, "Falsch."},
        {Game::Berg, "Falsch. Der Ball liegt am Fuß des Berges. "},
        {Game::Bruchteile, "Falsch."},
        {Game::Netz, "Falsch. Die Spinne knüpft weiter, 1 von 11 Fäden."},
        {Game::Waage, "Falsch, richtig ist "},
        {Game::Ballon, "Falsch. "},
        {Game::Wander, "Falsch. Noch 20 Antworten."},
    };
    for (const auto& [which, wrong] : firstWrong) {
        const GameCase& c = kGames[static_cast<std::size_t>(which)];
        ProgramHarness h;
        h.run();
        forms::Form& game = h.program.screen(c.game);
        SCOPED_TRACE(game.name());
        const auto ready = [&] {
            h.startGame(h.start().*c.option, h.start().optEinfach);
            h.ticks(c.ticksToGetReady);
        };
        ready();
        winGame(h, c.game);
        const std::string end = h.said();
        EXPECT_TRUE(end.ends_with("Gewonnen! " + (h.start().*c.points).Caption + " Punkte."))
            << end;

        ready();
        if (c.firstAct.starts_with("cmd")) {
            h.type("\r");
        }
        const forms::Control* box = game.ActiveControl();
        ASSERT_NE(box, nullptr);
        EXPECT_FALSE(box->AccessibleDescription.empty()) << "the problem";
        h.said();
        h.type(forms::CStr(forms::Val(*answerFor(h.program, game)) + 1) + "\r");
        EXPECT_TRUE(h.said().starts_with(wrong));
    }
}

// Every problem is heard when it comes, whether the focus stays on the box, comes back to it
// from a button or comes to it after the scene moved; read aloud, the voice says the same words
// in the same order, and nothing while reading aloud is off.
TEST(EveryGame, EveryProblemIsHeardWhenItComesAndReadAloudInTheSameWords) {
    struct RecordingVoice : forms::Voice {
        std::string said;
        void say(const std::string& text) override { said += text + " "; }
    };
    for (const GameCase& c : kGames) {
        ProgramHarness h;
        RecordingVoice voice;
        h.runtime.readAloud(&voice);
        h.run();
        SCOPED_TRACE(h.program.screen(c.game).name());
        h.listening = true;
        h.startGame(h.start().*c.option, h.start().optEinfach);
        h.ticks(c.ticksToGetReady);
        winGame(h, c.game);
        EXPECT_EQ(h.unheard, std::vector<std::string>{});
        std::size_t at = 0;
        for (const std::string& heard : h.heard) {
            at = voice.said.find(heard, at);
            ASSERT_NE(at, std::string::npos) << "not read aloud in order: " << heard;
        }
        EXPECT_NE(voice.said.find("Los und hopp: "), std::string::npos) << "the focus, read";

        h.runtime.readAloud(nullptr);
        voice.said.clear();
        h.startGame(h.start().*c.option, h.start().optEinfach);
        h.ticks(c.ticksToGetReady);
        EXPECT_EQ(voice.said, "") << "reading aloud is off";
    }
}

// With more contrast, on every screen and in play: every text stands out 4.5:1 against what
// lies beneath it, and every edge of a box, a button or an option and every line and shape 3:1.
void expectContrast(const forms::Form& form, const char* when) {
    using namespace forms;
    for (const Control* c : form.controls()) {
        if (!c->shown()) {
            continue;
        }
        const Color beneath = strongBackground(c->container() != nullptr ? c->container()->BackColor
                                                                         : form.BackColor);
        const Look look = lookOf(*c, Contrast::More);
        const std::string where = form.name() + "." + c->name() + " " + when;
        switch (c->kind()) {
        case ControlKind::Shape: {
            const auto& shape = static_cast<const Shape&>(*c);
            EXPECT_GE(contrastRatio(drawnOf(shape, shape.BorderColor, Contrast::More), beneath),
                      kEdgeContrast)
                << where;
            if (shape.FillSolid) {
                EXPECT_GE(contrastRatio(drawnOf(shape, shape.FillColor, Contrast::More), beneath),
                          kEdgeContrast)
                    << where;
            }
            break;
        }
        case ControlKind::Line:
            EXPECT_GE(
                contrastRatio(drawnOf(*c, static_cast<const Line&>(*c).BorderColor, Contrast::More),
                              beneath),
                kEdgeContrast)
                << where;
            break;
        case ControlKind::Image:
            break;
        default:
            EXPECT_GE(contrastRatio(look.fore, look.back), kTextContrast) << where;
            if (look.edged) {
                EXPECT_GE(contrastRatio(look.edge, beneath), kEdgeContrast) << where;
            }
        }
    }
}

TEST(EveryScreen, WithMoreContrastEveryTextEdgeAndLineStandsOut) {
    ProgramHarness h;
    h.run();
    expectContrast(h.start(), "on the start screen");
    for (const GameCase& c : kGames) {
        h.startGame(h.start().*c.option, h.start().optMittel);
        forms::Form& game = h.program.screen(c.game);
        expectContrast(game, "at the start");
        h.ticks(c.ticksToGetReady);
        h.type("\r");
        h.ticks(100);
        expectContrast(game, "at the first problem");
        h.runtime.close(game);
    }
}

} // namespace
