#pragma once

// More contrast on request, for every view alike: the screens' own colours, made darker or
// lighter only as far as needed, so that every text stands out 4.5:1 against what lies beneath
// it, and every control's edge and every drawn line or shape 3:1. The ratios are those of the
// web's accessibility guidelines (relative luminance of sRGB).

#include "forms/Color.h"

namespace forms {

enum class Contrast { AsDesigned, More };

double luminance(Color c);
double contrastRatio(Color a, Color b);

constexpr double kTextContrast = 4.5;
constexpr double kEdgeContrast = 3.0;

// A background that black or white text beats by 7:1: a middle tone is made darker, or
// lighter, until it does; any other stays.
Color strongBackground(Color back);
// A colour made darker or lighter, whichever needs less, until it stands out against back by
// at least ratio (up to 4.5, always reachable).
Color standingOut(Color fore, Color back, double ratio);
// Black or white, whichever stands out more against back: the edge of a box or a button.
Color edgeAgainst(Color back);

} // namespace forms
