#pragma once

// The composition root's table of the games' screens, the one place that includes every game.
// Each front end (the desktop window, the browser page) makes its program from it.

#include "start/Zifferix.h"

namespace zifferix {

const ScreenTable& screens();

} // namespace zifferix
