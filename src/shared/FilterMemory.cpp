#include "shared/FilterMemory.h"

namespace verbanto {

bool gPagamentiFilterOr = false;
FilterValues gPagamentiFilterValues;
bool gPagamentiFilterSaved = false;

bool gAnagraficaFilterOr = false;
FilterValues gAnagraficaFilterValues;
bool gAnagraficaFilterSaved = false;

FilterValues gTipologiaPersoneFilterValues;
bool gTipologiaPersoneFilterSaved = false;

bool gAssegniEmessiFilterOr = false;
FilterValues gAssegniEmessiFilterValues;
bool gAssegniEmessiFilterSaved = false;

bool gMieiContiCorrentiFilterOr = false;
FilterValues gMieiContiCorrentiFilterValues;
bool gMieiContiCorrentiFilterSaved = false;

} // namespace verbanto
