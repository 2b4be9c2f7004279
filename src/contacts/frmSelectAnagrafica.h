#pragma once
// The contact filter: fourteen text criteria joined by AND or OR into gWhereAnagrafica.
#include "contacts/ContactFields.h"
#include "shared/FilterForm.h"

namespace verbanto {

class frmSelectAnagrafica : public FilterForm, public ContactBoxes {
public:
    frmSelectAnagrafica();

protected:
    void CreateFormControls() override;
    std::vector<Criterion> Criteria() override;
    ListForm* List() override;
};

} // namespace verbanto
