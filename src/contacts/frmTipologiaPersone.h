#pragma once
// The contact-type list. No command shows it: it is loaded hidden as the host of the icon's popup
// menu, and that load opens the contact-type editor when there is no type yet.
#include "shared/ListForm.h"

namespace verbanto {

class frmTipologiaPersone : public ListForm {
public:
    frmTipologiaPersone();

    double mTIPOLOGIAID = 0;     // the type in hand
    double& RecordId() override { return mTIPOLOGIAID; }

    // The icon's popup menu.
    platform::MenuItem* mnuSystem = nullptr;
    platform::MenuItem* mnuApri = nullptr;         // "Apri"
    platform::MenuItem* mnuVisProxScad = nullptr;  // "Visualizza prossime scadenze"
    platform::MenuItem* mnutest = nullptr;         // separator
    platform::MenuItem* mnuEsci = nullptr;         // "Esci"
    void mnuApri_Click(int index);
    void mnuVisProxScad_Click(int index);
    void mnuEsci_Click(int index);

protected:
    void CreateOwnControls() override;
    void ShowEditor() override;
    void ShowFilter() override;
    QString PrintSubtitle() override;
};

} // namespace verbanto
