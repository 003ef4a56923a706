#pragma once

#include "widgets/DbGrid.h"

namespace ballvane {

// The row striping rule as a grid's cell hook (DBGridEh1GetCellParams, Grid2GetCellParams).
void stripeRows(const DbGrid& grid, CellParams& params);

// The draw grid DBGridEh1 of the "Grid view" page over the draw table's data source.
DbGrid* createDrawGrid(QWidget* page, DataSource* drawSource);

} // namespace ballvane
