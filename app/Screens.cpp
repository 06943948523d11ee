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

template <class Screen> std::unique_ptr<forms::Form> make(Zifferix& program) {
    return std::make_unique<Screen>(program);
}

// In the order of the Game enumeration.
constexpr ScreenTable kScreens = {
    make<frmUhr>,   make<frmBerg>,   make<frmbruchteile>, make<frmNetz>,
    make<frmwaage>, make<frmBallon>, make<frmWander>,
};

} // namespace

const ScreenTable& screens() {
    return kScreens;
}

} // namespace zifferix
