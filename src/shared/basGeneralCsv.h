#pragma once
// CSV export of a list grid: the save dialog, the file, and the message that closes it.
#include "platform/FlexGrid.h"
#include <QString>

namespace verbanto {

// Asks for a file and exports the grid into it, with the message of how it went.
void esportaCSV(platform::FlexGrid& grid);
// Writes the grid as CSV: a header row, ";" between fields, every field quoted, hidden id
// columns left out; the file is put in place only once complete.
void xMSFlexGrid_Save(platform::FlexGrid& grid, const QString& fileName);

} // namespace verbanto
