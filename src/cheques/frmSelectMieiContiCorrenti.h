#pragma once
// The bank-account filter: words of the description, bank, ABI, CAB, account number and
// holders, joined by AND or OR, into gWhereMieiContiCorrenti.
#include "shared/FilterForm.h"

namespace verbanto {

class frmSelectMieiContiCorrenti : public FilterForm {
public:
    frmSelectMieiContiCorrenti();

    platform::TextBox* txtBanca = nullptr;
    platform::TextBox* txtABI = nullptr;
    platform::TextBox* txtCAB = nullptr;
    platform::TextBox* txtNumeroConto = nullptr;
    platform::TextBox* txtIntestatario = nullptr;
    platform::TextBox* txtDescrizione = nullptr;
    platform::Label* lblBanca = nullptr;
    platform::Label* lblABI = nullptr;
    platform::Label* lblCAB = nullptr;
    platform::Label* lblNumeroConto = nullptr;
    platform::Label* lblIntestatario = nullptr;
    platform::Label* lblDescrizione = nullptr;

    void Form_Activate() override;

protected:
    void CreateFormControls() override;
    std::vector<Criterion> Criteria() override;
    ListForm* List() override;
};

} // namespace verbanto
