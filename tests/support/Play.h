#pragma once

// Plays a game from its activation to a win, as a child who knows every answer would: the
// start button where the game has one, right answers, and the time the scene needs.

#include "support/Answers.h"
#include "support/ProgramHarness.h"

namespace testing_support {

// Brings a game from its activation to its first problem: its start button where it has one,
// or the time its scene needs.
inline void getReady(ProgramHarness& h, zifferix::Game game) {
    using zifferix::Game;
    switch (game) {
    case Game::Uhr:
    case Game::Berg:
    case Game::Wander:
        h.type("\r");
        break;
    case Game::Bruchteile:
        h.ticks(667);
        break;
    case Game::Ballon: {
        auto& balloon = static_cast<zifferix::frmBallon&>(h.program.screen(game));
        for (int t = 0; t < 2000 && !balloon.txtEing.Enabled; ++t) {
            h.ticks(1);
        }
        break;
    }
    case Game::Netz:
    case Game::Waage:
        break;
    }
}

// Answers every problem right until the game is won, from its first problem on.
inline void answerToWin(ProgramHarness& h, zifferix::Game game) {
    using zifferix::Game;
    forms::Form& form = h.program.screen(game);
    const auto playing = [&] { return h.active() == &form; };
    switch (game) {
    case Game::Uhr: {
        auto& clock = static_cast<zifferix::frmUhr&>(form);
        for (int i = 0; i < 10 * h.shared().Schwierigkeit; ++i) {
            h.type(clockAnswer(clock) + "\r");
        }
        h.advance(63 * 1000);
        break;
    }
    case Game::Berg:
        while (playing()) {
            h.type(mountainAnswer(static_cast<zifferix::frmBerg&>(form)) + "\r");
            h.ticks(300);
        }
        break;
    case Game::Bruchteile:
        while (playing()) {
            h.type(glassAnswer(static_cast<zifferix::frmbruchteile&>(form)) + "\r");
        }
        break;
    case Game::Netz:
        for (int i = 0; i < 16 && playing(); ++i) {
            h.type(spiderAnswer(static_cast<zifferix::frmNetz&>(form)) + "\r");
        }
        break;
    case Game::Waage:
        for (int i = 0; i < 30 && playing(); ++i) {
            h.type(balanceAnswer(static_cast<zifferix::frmwaage&>(form)) + "\r\r");
        }
        break;
    case Game::Ballon: {
        auto& balloon = static_cast<zifferix::frmBallon&>(form);
        for (int i = 0; i < 6; ++i) {
            for (int t = 0; t < 2000 && !balloon.txtEing.Enabled; ++t) {
                h.ticks(1);
            }
            h.type(balloonAnswer(balloon) + "\r");
        }
        h.advance(400 * 60);
        break;
    }
    case Game::Wander:
        for (int i = 0; i < 12; ++i) {
            h.type(flyingAnswer(static_cast<zifferix::frmWander&>(form)) + "\r");
        }
        break;
    }
}

inline void winGame(ProgramHarness& h, zifferix::Game game) {
    getReady(h, game);
    answerToWin(h, game);
}

} // namespace testing_support
