#pragma once

// The balloon ride's conversions: masses in g, dag, kg and t.

#include "start/Conversion.h"

#include <array>

namespace zifferix {

// One unit weighs 10^power grams.
inline constexpr std::array<Unit, 4> kMassUnits{{
    {"g", 0, {"Gramm", "Gramm"}},
    {"dag", 1, {"Dekagramm", "Dekagramm"}},
    {"kg", 3, {"Kilogramm", "Kilogramm"}},
    {"t", 6, {"Tonne", "Tonnen"}},
}};

extern const Conversions kMasses;

} // namespace zifferix
