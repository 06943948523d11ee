#pragma once

// The mountain's conversions: lengths in mm, cm, dm, m and km.

#include "start/Conversion.h"

#include <array>

namespace zifferix {

// A step of the table is a factor of ten, except that a kilometre is a thousand metres.
inline constexpr std::array<Unit, 5> kLengthUnits{{
    {"mm", 1, {"Millimeter", "Millimeter"}},
    {"cm", 2, {"Zentimeter", "Zentimeter"}},
    {"dm", 3, {"Dezimeter", "Dezimeter"}},
    {"m", 4, {"Meter", "Meter"}},
    {"km", 7, {"Kilometer", "Kilometer"}},
}};

extern const Conversions kLengths;

} // namespace zifferix
