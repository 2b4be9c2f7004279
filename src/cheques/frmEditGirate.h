#pragma once
// The endorsement dialog: the deadline in hand, taken as a received cheque, was endorsed to a
// contact. Ok adds one row of Girate; nothing is loaded, changed or refreshed.
#include "cheques/ChequeDialogs.h"

namespace verbanto {

class frmEditGirate : public ReceivedChequeDialog {
public:
    frmEditGirate();

    platform::ComboBox* cboNome = nullptr;
    platform::Label* lblNome = nullptr;
    platform::DatePicker* txtDataGirata = nullptr;
    platform::Label* lblDataGirata = nullptr;
    platform::CheckBox* chkGirataPiena = nullptr;
    platform::TextBox* txtNote = nullptr;
    platform::Label* lblNote = nullptr;

    void LoadForm() override;
    void Form_Activate() override;
    void cboNome_KeyUp(int keyCode);

protected:
    void CreateFormControls() override;
    std::vector<Check> Checks() override;
    QString InsertStatement() override;
};

} // namespace verbanto
