#include "Zifferix.h"

#include "frmBallon.h"
#include "frmBerg.h"
#include "frmNetz.h"
#include "frmUhr.h"
#include "frmWander.h"
#include "frmbruchteile.h"
#include "frmstart.h"
#include "frmwaage.h"

namespace zifferix {

Zifferix::Zifferix(forms::Runtime& runtime)
    : runtime_(runtime), start_(std::make_unique<frmstart>(*this)) {}

Zifferix::~Zifferix() = default;

void Zifferix::run() {
    runtime_.start(*start_);
}

forms::Form& Zifferix::screen(Game game) {
    auto& slot = games_[static_cast<std::size_t>(game)];
    if (!slot) {
        switch (game) {
        case Game::Uhr:
            slot = std::make_unique<frmUhr>(*this);
            break;
        case Game::Berg:
            slot = std::make_unique<frmBerg>(*this);
            break;
        case Game::Bruchteile:
            slot = std::make_unique<frmbruchteile>(*this);
            break;
        case Game::Netz:
            slot = std::make_unique<frmNetz>(*this);
            break;
        case Game::Waage:
            slot = std::make_unique<frmwaage>(*this);
            break;
        case Game::Ballon:
            slot = std::make_unique<frmBallon>(*this);
            break;
        case Game::Wander:
            slot = std::make_unique<frmWander>(*this);
            break;
        }
    }
    return *slot;
}

} // namespace zifferix
