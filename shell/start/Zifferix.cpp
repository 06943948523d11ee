#include "start/Zifferix.h"

#include "start/GameForm.h"
#include "start/frmstart.h"
#include "start/name/frmName.h"

namespace zifferix {

Zifferix::Zifferix(forms::Runtime& runtime, const ScreenTable& screens)
    : runtime_(runtime), screens_(screens), start_(std::make_unique<frmstart>(*this)) {}

Zifferix::~Zifferix() = default;

void Zifferix::run() {
    runtime_.run([this] {
        runtime_.start(*start_);
        if (inClass() && class_.child.empty()) {
            askName();
        }
    });
}

void Zifferix::joinClass(ClassLink& link, ClassInfo info) {
    link_ = &link;
    class_ = std::move(info);
    names_ = std::make_unique<frmName>(*this, class_.name, class_.children);
}

void Zifferix::askName() {
    if (names_) {
        names_->Show();
    }
}

void Zifferix::chose(const std::string& child) {
    class_.child = child;
    if (link_ != nullptr) {
        link_->joined(child);
    }
}

void Zifferix::record(const GameResult& result) {
    if (link_ != nullptr) {
        link_->ended(resultJson(result, class_.child));
    }
}

bool Zifferix::choose(const Choice& choice) {
    if (runtime_.messageOpen() || runtime_.ended()) {
        return false;
    }
    if (names_ && runtime_.activeForm() == names_.get()) {
        moreTime_ = choice.givesMoreTime();
        waitingChoice_ = choice;
        return true;
    }
    if (runtime_.activeForm() != start_.get()) {
        return false;
    }
    moreTime_ = choice.givesMoreTime();
    runtime_.run([&] { start_->choose(choice); });
    return true;
}

void Zifferix::recordWin(Game game, Integer score, int level) {
    start_->recordWin(game, score, level);
    runtime_.speech().say("Gewonnen! " + forms::CStr(score) + " Punkte.");
}

void Zifferix::lost(const std::string& why) {
    runtime_.speech().say(why + " Leider verloren.");
}

void Zifferix::wonInRow(GameForm& self) {
    shared_.GesamtPunkte = static_cast<Integer>(shared_.GesamtPunkte + shared_.Punkte);
    if (const std::optional<Game> next = nextInRow(self.game())) {
        runtime_.speech().say("Geschafft! Zusammen " + forms::CStr(shared_.GesamtPunkte) +
                              " Punkte. Weiter mit: " + std::string(info(*next).caption) + ".");
        showGame(*next, [&self] { self.Hide(); });
        return;
    }
    const int level = shared_.Schwierigkeit;
    shared_.GesamtPunkte =
        static_cast<Integer>(shared_.GesamtPunkte + kRowBonus[difficulty::row(level)]);
    start_->recordRowWin(shared_.GesamtPunkte, level);
    runtime_.speech().say("Das Spiel gewonnen! " + forms::CStr(shared_.GesamtPunkte) + " Punkte.");
    self.Hide();
}

void Zifferix::clearDifficulty() {
    start_->clearDifficulty();
}

void Zifferix::clearChoice(Game game) {
    start_->clearChoice(game);
}

void showMoreTime(forms::Label& sign, forms::Placement place, bool more) {
    sign.Move(place);
    sign.Caption = "Mehr Zeit: doppelt so lang";
    sign.Alignment = forms::TextAlign::Center;
    sign.Font = {"Arial", 10, true};
    sign.BackColor = forms::colors::White;
    sign.ForeColor = forms::colors::Black;
    sign.BorderSingle = true;
    sign.Visible = more;
}

forms::Form& Zifferix::screen(Game game) {
    return this->game(game);
}

GameForm& Zifferix::game(Game game) {
    const auto i = static_cast<std::size_t>(game);
    if (!games_[i]) {
        games_[i] = screens_[i](*this);
    }
    return *games_[i];
}

void Zifferix::showGame(Game game, std::function<void()> whenHidden) {
    GameForm& form = this->game(game);
    form.newGame();
    form.Show(std::move(whenHidden));
}

} // namespace zifferix
