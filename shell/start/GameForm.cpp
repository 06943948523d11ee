#include "start/GameForm.h"

#include "start/Ending.h"

namespace zifferix {

GameForm::GameForm(Zifferix& program, Game game)
    : Form(program.runtime(), std::string(info(game).form)), program_(program),
      shared_(program.shared()), game_(game) {
    Caption = std::string(info(game).title);
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
    Hide();
}

void GameForm::homeButton(forms::CommandButton& button) {
    button.Caption = "&home";
    button.ToolTipText = "zur Startseite";
    button.onClick = [this] { cmdEnde_Click(); };
}

} // namespace zifferix
