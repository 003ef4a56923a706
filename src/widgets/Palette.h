#pragma once

#include "data/Colors.h"

#include <QColor>

namespace ballvane {

// The colour a TColor stands for on this desktop (system colours from the application palette).
QColor toQColor(TColor colour);
// The TColor for a plain colour, for tests and rules that compare against the rule tables.
TColor fromQColor(const QColor& colour);

} // namespace ballvane
