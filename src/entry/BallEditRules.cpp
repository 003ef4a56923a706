#include "BallEditRules.h"

#include "BallRules.h"

namespace ballvane {

void digitOnlyKeyPress(DbEdit&, QChar& key) { key = digitOnlyKey(key); }

void ballBandingChange(DbEdit& edit) {
    if (const auto colour = ballBandColour(edit.text())) edit.setColour(*colour);
}

void sharesColourChange(DbEdit& edit) { edit.setFontColour(sharesColour(edit.text())); }

} // namespace ballvane
