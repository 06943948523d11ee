#include "Zifferix.h"

#include "frmstart.h"

namespace zifferix {

Zifferix::Zifferix(forms::Runtime& runtime, const ScreenTable& screens)
    : runtime_(runtime), screens_(screens), start_(std::make_unique<frmstart>(*this)) {}

Zifferix::~Zifferix() = default;

void Zifferix::run() {
    runtime_.start(*start_);
}

forms::Form& Zifferix::screen(Game game) {
    const auto i = static_cast<std::size_t>(game);
    if (!games_[i]) {
        games_[i] = screens_[i](*this);
    }
    return *games_[i];
}

} // namespace zifferix
