#include "contacts/ContactFields.h"

namespace verbanto {

using namespace platform;

const std::array<ContactBoxes::Field, 14>& ContactBoxes::Fields()
{
    static const std::array<Field, 14> fields{{
        {&ContactBoxes::txtCognome, "Cognome", "Cognome / Ragione Sociale", "Cognome"},
        {&ContactBoxes::txtNome, "Nome", "Nome", "Nome"},
        {&ContactBoxes::txtIndirizzo, "Indirizzo", "Indirizzo", "Indirizzo"},
        {&ContactBoxes::txtCAP, "CAP", "CAP", "CAP"},
        {&ContactBoxes::txtComune, "Comune", "Comune", "Comune"},
        {&ContactBoxes::txtProvincia, "Provincia", "Provincia", "Provincia"},
        {&ContactBoxes::txtTelefonoCasa, "TelefonoCasa", "Telefono Casa", "TelefonoCasa"},
        {&ContactBoxes::txtTelefonoUfficio, "TelefonoUfficio", "Telefono Ufficio", "TelefonoUfficio"},
        {&ContactBoxes::txtFax, "Fax", "Fax", "Fax"},
        {&ContactBoxes::txtCellulare, "Cellulare", "Cellulare", "Cellulare"},
        {&ContactBoxes::txtCFIva, "CFIva", "Codice Fiscale / Partita IVA", "CFIva"},
        {&ContactBoxes::txtEmail, "Email", "E-mail", "Email"},
        {&ContactBoxes::txtSitoWeb, "SitoWeb", "Sito Web", "SitoWeb"},
        {&ContactBoxes::txtNote, "Note", "Note", "NoteAnagrafica"},
    }};
    return fields;
}

void ContactBoxes::AddBox(Form& form, const Field& f, bool multiLineNotes)
{
    const bool multi = multiLineNotes && f.box == &ContactBoxes::txtNote;
    this->*f.box = form.Add<TextBox>(QStringLiteral("txt") + QLatin1String(f.suffix), multi);
}

Label* ContactBoxes::AddLabel(Form& form, const Field& f)
{
    return form.Add<Label>(QStringLiteral("lbl") + QLatin1String(f.suffix), QString::fromUtf8(f.caption));
}

void AddTypeNameBox(Form& form, TextBox*& box, Label*& label)
{
    box = form.Add<TextBox>(QStringLiteral("txtTipologia"));
    label = form.Add<Label>(QStringLiteral("lblTipologia"), QStringLiteral("Tipologia Soci"));
}

void CaretAtEnd(TextBox& box)
{
    box.SetFocus();
    box.SendKey(vbKeyEnd);
}

} // namespace verbanto
