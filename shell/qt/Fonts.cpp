#include "qt/Fonts.h"

#include "forms/Zoom.h"

namespace qt {

void installFontSubstitutes() {
    QFont::insertSubstitution("Arial", "Liberation Sans");
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    QFont::insertSubstitution("Comic Sans MS", "Comic Neue");
}

QFont qfont(const forms::Font& font, double zoom) {
    QFont f(QString::fromStdString(font.Name));
    f.setPixelSize(forms::Zoom(zoom).fontPixels(font.Size));
    f.setBold(font.Bold);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

} // namespace qt
