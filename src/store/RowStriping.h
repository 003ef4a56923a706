#pragma once

#include "data/Colors.h"

namespace ballvane {

// The pale green of the odd rows of the draw and result grids.
constexpr TColor stripeGreen = 0xDAFFDA;

// The background of a grid row by its record number: pale green for odd numbers,
// the info background for even ones and for an unsaved new record (0).
constexpr TColor stripeColour(int recNo) { return recNo % 2 != 0 ? stripeGreen : clInfoBk; }

} // namespace ballvane
