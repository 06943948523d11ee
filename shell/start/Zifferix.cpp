#include "start/Zifferix.h"

#include "start/frmstart.h"

namespace zifferix {

Zifferix::Zifferix(forms::Runtime& runtime, const ScreenTable& screens)
    : runtime_(runtime), screens_(screens), start_(std::make_unique<frmstart>(*this)) {}

Zifferix::~Zifferix() = default;

void Zifferix::run() {
    runtime_.start(*start_);
}

bool Zifferix::choose(const Choice& choice) {
    if (runtime_.activeForm() != start_.get() || runtime_.messageOpen() || runtime_.ended()) {
        return false;
    }
    runtime_.run([&] { start_->choose(choice); });
    return true;
}

Game Zifferix::gameOf(const forms::Form& screen) const {
    for (std::size_t i = 0; i < games_.size(); ++i) {
        if (games_[i].get() == &screen) {
            return static_cast<Game>(i);
        }
    }
    return Game::Uhr; // only a game's own screen asks, and it exists
}

void Zifferix::recordWin(Game game, Integer score, int level) {
    start_->recordWin(game, false, score, level);
}

void Zifferix::recordRowWin(Integer total, int level) {
    start_->recordWin(Game::Uhr, true, total, level);
}

forms::Form& Zifferix::screen(Game game) {
    const auto i = static_cast<std::size_t>(game);
    if (!games_[i]) {
        games_[i] = screens_[i](*this);
    }
    return *games_[i];
}

} // namespace zifferix
