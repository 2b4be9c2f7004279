#pragma once
// The contact-type editor: adds a type or renames the one the type list holds in mTIPOLOGIAID;
// an empty name and a name another type has are refused.
#include "shared/EditorForm.h"

namespace verbanto {

class frmEditTipologiaPersone : public EditorForm {
public:
    frmEditTipologiaPersone();

    platform::TextBox* txtTipologia = nullptr;
    platform::Label* lblTipologia = nullptr;

    void LoadForm() override;
    void Form_Activate() override;

    // The statements Ok writes, from what the box holds now.
    QString InsertStatement() override;
    QString UpdateStatement() override;

protected:
    void CreateFormControls() override;
    std::vector<Check> Checks() override;
    ListForm* List() override;
};

} // namespace verbanto
