#pragma once
// The deadline filter: contact, range of dates, words of the description and of the notes,
// joined by AND or OR, into gWherePagamenti.
#include "shared/FilterForm.h"

namespace verbanto {

class frmSelectPagamenti : public FilterForm {
public:
    frmSelectPagamenti();

    platform::ComboBox* cboSocio = nullptr;
    platform::Label* lblSocio = nullptr;
    platform::TextBox* txtCausale = nullptr;
    platform::Label* lblCausale = nullptr;
    platform::TextBox* txtNotePagamento = nullptr;
    platform::Label* lblAssegnoNote = nullptr;
    platform::Label* lblDataAssegno = nullptr;
    platform::Label* OsenXPLabel2 = nullptr;
    platform::Label* lblDataA = nullptr;
    platform::TextBox* txtDataDa = nullptr;
    platform::TextBox* txtDataA = nullptr;

protected:
    void CreateFormControls() override;
    void FillCombos() override;
    std::vector<Check> Checks() override;
    std::vector<Criterion> Criteria() override;
    ListForm* List() override;
};

} // namespace verbanto
