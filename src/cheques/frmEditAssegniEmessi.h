#pragma once
// The issued-cheque editor: account, payee, number, date, place, the three marks, amount,
// reason and notes of one cheque. Add mode when gNewRecord is set, else it edits the cheque
// frmAssegniEmessi holds in mASSEGNIEMESSIID.
#include "shared/EditorForm.h"

namespace verbanto {

class frmEditAssegniEmessi : public EditorForm {
public:
    frmEditAssegniEmessi();

    // In the order of the form, which is the order of the printed card.
    platform::CheckBox* chkSuPiazza = nullptr;
    platform::DatePicker* txtDataAssegno = nullptr;
    platform::TextBox* txtNumero = nullptr;
    platform::ComboBox* cboDescrizione = nullptr;
    platform::Label* lblDescrizione = nullptr;
    platform::Label* lblNome = nullptr;
    platform::ComboBox* cboNome = nullptr;
    platform::Label* lblNumero = nullptr;
    platform::Label* lblDataAssegno = nullptr;
    platform::Label* lblLuogoEmissione = nullptr;
    platform::TextBox* txtLuogoEmissione = nullptr;
    platform::CheckBox* chkTrasferibile = nullptr;
    platform::CheckBox* chkSbarrato = nullptr;
    platform::TextBox* txtImporto = nullptr;
    platform::Label* lblImporto = nullptr;
    platform::TextBox* txtCausale = nullptr;
    platform::Label* lblCausale = nullptr;
    platform::TextBox* txtAssegnoNote = nullptr;
    platform::Label* lblAssegnoNote = nullptr;

    long idDelContoCorrente = -1;     // the account chosen in cboDescrizione, -1 when none
    long idDelBeneficiarioEm = -1;    // the payee chosen in cboNome, -1 when none

    void LoadForm() override;
    void Form_Activate() override;
    void cboDescrizione_Change();
    void cboDescrizione_KeyUp(int keyCode);
    void cboNome_Change();
    void cboNome_KeyUp(int keyCode);
    void txtDataAssegno_Validate(bool& cancel);

protected:
    void CreateFormControls() override;
    std::vector<Check> Checks() override;
    QString InsertStatement() override;
    QString UpdateStatement() override;
    ListForm* List() override;

private:
    struct Values {
        QString account, payee, number, date, place, suPiazza, trasferibile, sbarrato, amount, reason, notes;
    };
    Values values() const;
};

} // namespace verbanto
