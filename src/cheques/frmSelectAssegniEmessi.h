#pragma once
// The issued-cheque filter: account, payee, number, range of dates, place, the three marks
// (grayed = any), range of amounts, reason and notes, joined by AND or OR, into gWhereAssegniEmessi.
#include "shared/FilterForm.h"

namespace verbanto {

class frmSelectAssegniEmessi : public FilterForm {
public:
    frmSelectAssegniEmessi();

    platform::TextBox* txtNumero = nullptr;
    platform::ComboBox* cboDescrizione = nullptr;
    platform::Label* lblDescrizione = nullptr;
    platform::Label* lblNome = nullptr;
    platform::ComboBox* cboNome = nullptr;
    platform::Label* lblNumero = nullptr;
    platform::CheckBox* chkSuPiazza = nullptr;
    platform::Label* lblLuogoEmissione = nullptr;
    platform::TextBox* txtLuogoEmissione = nullptr;
    platform::CheckBox* chkTrasferibile = nullptr;
    platform::CheckBox* chkSbarrato = nullptr;
    platform::TextBox* txtCausale = nullptr;
    platform::Label* lblCausale = nullptr;
    platform::TextBox* txtAssegnoNote = nullptr;
    platform::Label* lblAssegnoNote = nullptr;
    platform::Label* lblDataAssegno = nullptr;
    platform::Label* OsenXPLabel2 = nullptr;
    platform::Label* lblDataA = nullptr;
    platform::Label* lblImporto = nullptr;
    platform::Label* OsenXPLabel5 = nullptr;
    platform::Label* lblImportoA = nullptr;
    platform::TextBox* txtImportoDa = nullptr;
    platform::TextBox* txtImportoA = nullptr;
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
