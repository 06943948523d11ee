#include "app/Screens.h"

#include "balance/frmwaage.h"
#include "balloon/frmBallon.h"
#include "clock/frmUhr.h"
#include "flying/frmWander.h"
#include "glass/frmbruchteile.h"
#include "mountain/frmBerg.h"
#include "spider/frmNetz.h"

namespace zifferix {
namespace {

template <class Screen> std::unique_ptr<GameForm> make(Zifferix& program) {
    return std::make_unique<Screen>(program);
}

// Each game's screen at the place of its id, which each screen names itself.
template <class... Screen> constexpr ScreenTable screensOf() {
    ScreenTable table{};
    ((table[static_cast<std::size_t>(Screen::kGame)] = make<Screen>), ...);
    return table;
}

constexpr ScreenTable kScreens =
    screensOf<frmUhr, frmBerg, frmbruchteile, frmNetz, frmwaage, frmBallon, frmWander>();

constexpr bool everyGameHasAScreen() {
    for (ScreenFactory make : kScreens) {
        if (make == nullptr) {
            return false;
        }
    }
    return true;
}
static_assert(everyGameHasAScreen(), "a screen for every line of the table of games");

} // namespace

const ScreenTable& screens() {
    return kScreens;
}

} // namespace zifferix
