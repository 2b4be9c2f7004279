#pragma once
// The contact-type filter: one name criterion into gWhereTipologiaPersone.
#include "shared/FilterForm.h"

namespace verbanto {

class frmSelectTipologiaPersone : public FilterForm {
public:
    frmSelectTipologiaPersone();

    platform::TextBox* txtTipologia = nullptr;
    platform::Label* lblTipologia = nullptr;

    void Form_Activate() override;

protected:
    void CreateFormControls() override;
    std::vector<Criterion> Criteria() override;
    ListForm* List() override;
};

} // namespace verbanto
