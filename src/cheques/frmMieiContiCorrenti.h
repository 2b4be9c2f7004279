#pragma once
// The list of the user's own bank accounts, with the commands add, delete (refused while cheques
// or deposits use the account), filter ("Seleziona"), print and close.
#include "shared/ListForm.h"

namespace verbanto {

class frmMieiContiCorrenti : public ListForm {
public:
    frmMieiContiCorrenti();

    double mCONTOCORRENTEID = 0;     // the account in hand
    double& RecordId() override { return mCONTOCORRENTEID; }

protected:
    void ShowEditor() override;
    void ShowFilter() override;
    QString PrintSubtitle() override;
    bool TrapFillErrors() const override;
};

} // namespace verbanto
