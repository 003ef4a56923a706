#include "Fonts.h"

#include <QFileInfo>
#include <QFontDatabase>

namespace ballvane {

void registerDesignFonts() {
    static bool registered = false;
    if (registered) return;
    registered = true;
    for (const char* file : {"tahoma.ttf", "tahomabd.ttf", "ms_sans_serif.ttf"}) {
        const QString path = QStringLiteral("/usr/share/wine/fonts/") + QString::fromLatin1(file);
        if (QFileInfo::exists(path)) QFontDatabase::addApplicationFont(path);
    }
    // The grid's cell face is the TrueType successor of the bitmap face; the two look alike.
    QFont::insertSubstitution(QStringLiteral("Microsoft Sans Serif"), QStringLiteral("MS Sans Serif"));
}

QFont designFont(const QString& family, int pixelHeight, bool bold) {
    // The bitmap "MS Sans Serif" has no bold strike; Tahoma bold stands in for it.
    const bool boldMissing = bold && !QFontDatabase::styles(family).contains(QStringLiteral("Bold")) &&
                             QFontDatabase::hasFamily(QStringLiteral("Tahoma"));
    QFont font(boldMissing ? QStringLiteral("Tahoma") : family);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

} // namespace ballvane
