#pragma once
// The deadline list: every deadline with its contact, or, in contact mode, the deadlines of one
// contact (gNomeDelContatto not empty; gWherePagamenti then holds the contact restriction).
#include "shared/ListForm.h"

namespace verbanto {

class frmPagamenti : public ListForm {
public:
    frmPagamenti();

    double mPagamentiID = 0;     // the deadline in hand
    double& RecordId() override { return mPagamentiID; }
    void AddGridRow() override;

protected:
    void OwnLoad() override;
    void ShowEditor() override;
    void ShowFilter() override;
    QString PrintSubtitle() override;
    CellRule CellRuleFor(const platform::Field& column) override;
    void AfterDelete() override;
};

} // namespace verbanto
