#pragma once

#include <QFont>

namespace ballvane {

// Registers the fonts the window was designed with ("Tahoma", "MS Sans Serif")
// from Debian's fonts-wine when they are installed; otherwise Qt's fallback serves.
void registerDesignFonts();

// A font by its character height in pixels, as the layout was designed at 96 dpi.
QFont designFont(const QString& family, int pixelHeight, bool bold = false);

} // namespace ballvane
