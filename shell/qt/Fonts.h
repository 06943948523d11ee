#pragma once

#include "forms/Controls.h"

#include <QFont>

namespace qt {

// Arial and MS Sans Serif are drawn with Liberation Sans, Comic Sans MS with Comic Neue.
void installFontSubstitutes();

// Points become logical pixels at 96 dots per inch, as the twips do, times the zoom.
QFont qfont(const forms::Font& font, double zoom = 1.0);

} // namespace qt
