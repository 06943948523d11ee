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

// Each game once, by the id that each screen names itself.
template <class... Screen> constexpr bool oneScreenPerGame() {
    std::array<bool, kGameCount> seen{};
    for (const Game game : {Screen::kGame...}) {
        const auto i = static_cast<std::size_t>(game);
        if (i >= kGameCount || seen[i]) {
            return false;
        }
        seen[i] = true;
    }
    return sizeof...(Screen) == kGameCount;
}

// Each game's screen at the place of its id.
template <class... Screen> constexpr ScreenTable screensOf() {
    static_assert(oneScreenPerGame<Screen...>(), "a screen for every line of the table of games");
    ScreenTable table{};
    ((table[static_cast<std::size_t>(Screen::kGame)] = make<Screen>), ...);
    return table;
}

constexpr ScreenTable kScreens =
    screensOf<frmUhr, frmBerg, frmbruchteile, frmNetz, frmwaage, frmBallon, frmWander>();

} // namespace

const ScreenTable& screens() {
    return kScreens;
}

} // namespace zifferix
