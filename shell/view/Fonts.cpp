#include "Fonts.h"

#include <cmath>

namespace view {

void installFontSubstitutes() {
    QFont::insertSubstitution("Arial", "Liberation Sans");
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    QFont::insertSubstitution("Comic Sans MS", "Comic Neue");
}

QFont qfont(const forms::Font& font, double zoom) {
    QFont f(QString::fromStdString(font.Name));
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(font.Size * 96.0 / 72.0 * zoom))));
    f.setBold(font.Bold);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

} // namespace view
