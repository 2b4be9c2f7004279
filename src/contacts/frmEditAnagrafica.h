#pragma once
// The contact editor: adds a contact or changes the one the contact list holds in mANAGRAFICAID,
// and prints it as a contact card.
#include "contacts/ContactFields.h"
#include "shared/EditorForm.h"
#include <array>

namespace verbanto {

class frmEditAnagrafica : public EditorForm, public ContactBoxes {
public:
    frmEditAnagrafica();

    short idDelTipoAnag = 0;      // written as the contact's TIPOLOGIAID: 0 for a new contact,
                                  // the contact's own type when it is edited

    void LoadForm() override;

    // The statements Ok writes, from what the boxes hold now.
    QString InsertStatement() override;
    QString UpdateStatement() override;

protected:
    void CreateFormControls() override;
    std::vector<Check> Checks() override;
    ListForm* List() override;

private:
    // The fields as the statements name them: TIPOLOGIAID, Nome, Cognome, then the others in the
    // order of the form.
    std::vector<std::pair<QString, QString>> values() const;
    // NumeroTessera and the three dates as SQL values: Null for a new contact, else as read.
    std::array<QString, 4> kept_ = {QStringLiteral("Null"), QStringLiteral("Null"), QStringLiteral("Null"), QStringLiteral("Null")};
};

} // namespace verbanto
