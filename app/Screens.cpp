#include "Screens.h"

#include "frmBallon.h"
#include "frmBerg.h"
#include "frmNetz.h"
#include "frmUhr.h"
#include "frmWander.h"
#include "frmbruchteile.h"
#include "frmwaage.h"

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
