#pragma once
// The bank-account editor: description, bank, ABI and CAB codes, account number and holders of
// one of the user's own accounts. Add mode when gNewRecord is set, else it edits the account
// frmMieiContiCorrenti holds in mCONTOCORRENTEID. Without it no account could ever be entered,
// and a cheque or a deposit needs one.
#include "shared/EditorForm.h"
#include <array>

namespace verbanto {

class frmEditMieiContiCorrenti : public EditorForm {
public:
    frmEditMieiContiCorrenti();

    platform::TextBox* txtDescrizione = nullptr;
    platform::TextBox* txtBanca = nullptr;
    platform::TextBox* txtABI = nullptr;
    platform::TextBox* txtCAB = nullptr;
    platform::TextBox* txtNumeroConto = nullptr;
    platform::TextBox* txtIntestatari = nullptr;

    void LoadForm() override;

protected:
    void CreateFormControls() override;
    std::vector<Check> Checks() override;
    QString InsertStatement() override;
    QString UpdateStatement() override;
    ListForm* List() override;

private:
    struct Box {
        platform::TextBox* box;
        const char* column;
    };
    std::array<Box, 6> boxes() const;
};

} // namespace verbanto
