#pragma once
// What each filter dialog remembers for the rest of the run: the AND/OR choice of its last Ok,
// the value of each of its controls (by the control's position in the form, counted from 1;
// an empty text = nothing remembered) and whether that list has been sized yet.
// annullaWhere empties only the where-clauses, never these.
#include <QString>
#include <vector>

namespace verbanto {

using FilterValues = std::vector<QString>;

extern bool gPagamentiFilterOr;
extern FilterValues gPagamentiFilterValues;
extern bool gPagamentiFilterSaved;

extern bool gAnagraficaFilterOr;
extern FilterValues gAnagraficaFilterValues;
extern bool gAnagraficaFilterSaved;

extern FilterValues gTipologiaPersoneFilterValues;
extern bool gTipologiaPersoneFilterSaved;

extern bool gAssegniEmessiFilterOr;
extern FilterValues gAssegniEmessiFilterValues;
extern bool gAssegniEmessiFilterSaved;

extern bool gMieiContiCorrentiFilterOr;
extern FilterValues gMieiContiCorrentiFilterValues;
extern bool gMieiContiCorrentiFilterSaved;

// One filter's memory, as the filter machinery reaches it.
struct FilterMemory {
    QString* where;            // the list's where-clause string
    bool* orFlag;              // null for a filter without the AND/OR choice
    FilterValues* values;
    bool* saved;
};

} // namespace verbanto
