#pragma once
// The issued-cheque list: every cheque with the own account it was drawn on and its payee, the
// total of the amounts listed, and the commands add, delete, filter ("Seleziona"), print, close.
#include "shared/ListForm.h"

namespace verbanto {

class frmAssegniEmessi : public ListForm {
public:
    frmAssegniEmessi();

    double mASSEGNIEMESSIID = 0;     // the cheque in hand
    double& RecordId() override { return mASSEGNIEMESSIID; }

protected:
    void ShowEditor() override;
    void ShowFilter() override;
    QString RowQuery(double id) override;
    QString PrintSubtitle() override;
    CellRule CellRuleFor(const platform::Field& column) override;
};

} // namespace verbanto
