#pragma once
// The contact list: every contact but those of type 1, with "&Gestisci Scadenze" opening the
// deadline list on the deadlines of the selected contact.
#include "shared/ListForm.h"

namespace verbanto {

class frmAnagrafica : public ListForm {
public:
    frmAnagrafica();

    double mANAGRAFICAID = 0;     // the contact in hand
    double& RecordId() override { return mANAGRAFICAID; }
    void UpdateGridRow() override;
    void AddGridRow() override;

    platform::Button* cmdApriPagamenti = nullptr;   // "&Gestisci Scadenze"
    void cmdApriPagamenti_Click();

protected:
    void CreateOwnControls() override;
    void ShowEditor() override;
    void ShowFilter() override;
    QString PrintSubtitle() override;
    QString RowQuery(double id) override;

private:
    // The two row refreshers read the record with slightly different texts.
    QString rowQueryHead_ = QStringLiteral("SELECT  a.ANAGRAFICAID,  a.cogNome as CognomeRagioneSociale, a.Nome,  ");
    QString rowQueryFrom_ = QStringLiteral("FROM Anagrafica a ");
};

} // namespace verbanto
