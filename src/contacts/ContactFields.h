#pragma once
// What the contact editor and the contact filter share: the fourteen boxes of a contact with
// their labels and columns; and the one name box of the contact-type editor and filter.
#include "platform/Forms.h"
#include <array>

namespace verbanto {

struct ContactBoxes {
    platform::TextBox* txtCognome = nullptr;
    platform::TextBox* txtNome = nullptr;
    platform::TextBox* txtIndirizzo = nullptr;
    platform::TextBox* txtCAP = nullptr;
    platform::TextBox* txtComune = nullptr;
    platform::TextBox* txtProvincia = nullptr;
    platform::TextBox* txtTelefonoCasa = nullptr;
    platform::TextBox* txtTelefonoUfficio = nullptr;
    platform::TextBox* txtFax = nullptr;
    platform::TextBox* txtCellulare = nullptr;
    platform::TextBox* txtCFIva = nullptr;
    platform::TextBox* txtEmail = nullptr;
    platform::TextBox* txtSitoWeb = nullptr;
    platform::TextBox* txtNote = nullptr;

    struct Field {
        platform::TextBox* ContactBoxes::*box;
        const char* suffix;     // the name after "txt" and "lbl"
        const char* caption;    // the label's caption
        const char* column;     // the column of Anagrafica
    };
    // The fourteen, surname first, in the order of the forms.
    static const std::array<Field, 14>& Fields();

    platform::TextBox* Box(const Field& f) const { return this->*f.box; }
    // Creates the box of a field on the form (multi-line for the notes when asked).
    void AddBox(platform::Form& form, const Field& f, bool multiLineNotes);
    static platform::Label* AddLabel(platform::Form& form, const Field& f);
};

// The name box of a contact type, with its label "Tipologia Soci".
void AddTypeNameBox(platform::Form& form, platform::TextBox*& box, platform::Label*& label);
// Focus into the box with the caret after its text, as each activation of those dialogs wants.
void CaretAtEnd(platform::TextBox& box);

} // namespace verbanto
