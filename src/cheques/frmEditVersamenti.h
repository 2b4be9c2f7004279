#pragma once
// The deposit dialog: the deadline in hand, taken as a received cheque, was deposited into one
// of the user's own accounts. Ok adds one row of Versamenti; nothing is loaded, changed or
// refreshed.
#include "cheques/ChequeDialogs.h"

namespace verbanto {

class frmEditVersamenti : public ReceivedChequeDialog {
public:
    frmEditVersamenti();

    platform::ComboBox* cboDescrizione = nullptr;
    platform::Label* lblDescrizione = nullptr;
    platform::DatePicker* txtDataVersamento = nullptr;
    platform::Label* lblDataVersamento = nullptr;
    platform::TextBox* txtNote = nullptr;
    platform::Label* lblNote = nullptr;

    void LoadForm() override;

protected:
    void CreateFormControls() override;
    std::vector<Check> Checks() override;
    QString InsertStatement() override;
};

} // namespace verbanto
