#pragma once

#include "data/Table.h"

namespace ballvane {

// Sets the draw table's order: closes it (a pending draw is discarded), sets the
// index and opens it again on the first record of the new order, every time.
void applyDateOrder(Table& table, const QString& indexName);

} // namespace ballvane
