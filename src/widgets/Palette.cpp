#include "Palette.h"

#include <QApplication>
#include <QPalette>

namespace ballvane {

QColor toQColor(TColor colour) {
    if (isSystemColour(colour)) {
        const QPalette palette = QApplication::palette();
        switch (colour) {
        case clWindow: return palette.color(QPalette::Base);
        case clWindowText: return palette.color(QPalette::Text);
        case clInfoBk: return palette.color(QPalette::ToolTipBase);
        default: return palette.color(QPalette::Window);
        }
    }
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

TColor fromQColor(const QColor& colour) {
    return static_cast<TColor>(colour.red()) | (static_cast<TColor>(colour.green()) << 8) |
           (static_cast<TColor>(colour.blue()) << 16);
}

} // namespace ballvane
