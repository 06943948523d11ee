#include "start/GameForm.h"

#include "start/Ending.h"

#include <utility>

namespace zifferix {
namespace {

// Often enough that a problem's seconds are right to a tenth.
constexpr int kStopwatchInterval = 100;

double secondsBetween(std::int64_t from, std::int64_t to) {
    return static_cast<double>(to - from) / 1000.0;
}

} // namespace

GameForm::GameForm(Zifferix& program, Game game)
    : Form(program.runtime(), std::string(info(game).form)), program_(program),
      shared_(program.shared()), game_(game) {
    Caption = std::string(info(game).title);
    tmrStoppuhr.Interval = kStopwatchInterval;
}

void GameForm::stop() {
    for (forms::Timer* timer : timers()) {
        timer->Enabled = false;
    }
    Grundstellung();
}

void GameForm::won(Integer bonus) {
    stop();
    endWon(*this, bonus);
}

void GameForm::lost(const std::string& why) {
    stop();
    endLost(*this, why);
}

void GameForm::leave() {
    stop();
    left();
}

void GameForm::left() {
    finish(GameEnd::Left);
    Hide();
}

void GameForm::homeButton(forms::CommandButton& button) {
    button.Caption = "&home";
    button.ToolTipText = "zur Startseite";
    button.onClick = [this] { cmdEnde_Click(); };
}

void GameForm::newGame() {
    record_ = {};
    tmrStoppuhr.Enabled = false;
}

void GameForm::pose(forms::TextBox& box, std::string words) {
    if (program_.inClass()) {
        const std::int64_t now = runtime().now();
        if (!record_.open) {
            record_ = {};
            record_.open = true;
            record_.began = now;
            tmrStoppuhr.Enabled = true;
        }
        record_.problem = words;
        record_.since = now;
    }
    box.Describe(std::move(words));
}

void GameForm::answered(const std::string& typed, bool right) {
    if (!record_.open || record_.problem.empty()) {
        return;
    }
    const std::int64_t now = runtime().now();
    record_.problems.push_back({record_.problem, typed, right, secondsBetween(record_.since, now)});
    record_.since = now;
}

void GameForm::finish(GameEnd end) {
    if (!record_.open) {
        return;
    }
    tmrStoppuhr.Enabled = false;
    Record record = std::exchange(record_, {});
    if (end == GameEnd::Left && record.problems.empty()) {
        return;
    }
    program_.record({.game = game_,
                     .level = shared_.Schwierigkeit,
                     .points = shared_.Punkte,
                     .end = end,
                     .inRow = shared_.AllesHintereinander != 0,
                     .seconds = secondsBetween(record.began, runtime().now()),
                     .problems = std::move(record.problems)});
}

} // namespace zifferix
