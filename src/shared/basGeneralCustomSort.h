#pragma once
// Orders for grid columns whose text sorts wrongly as text: dates "dd/mm/yyyy" and amounts
// "1.234,50 €". Sort codes as the grid's: 3 ascending, 4 descending.
#include "platform/FlexGrid.h"

namespace verbanto {

void sortGridByDate(platform::FlexGrid& grid, int column, int sortCode);
void sortGridByAmount(platform::FlexGrid& grid, int column, int sortCode);

} // namespace verbanto
