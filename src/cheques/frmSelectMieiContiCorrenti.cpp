#include "cheques/frmSelectMieiContiCorrenti.h"
#include "cheques/frmMieiContiCorrenti.h"
#include "shared/basGeneral.h"
#include "shared/ModalWindows.h"
#include "shared/TracedProcedure.h"
#include "shared/WindowControls.h"

namespace verbanto {

using namespace platform;

frmSelectMieiContiCorrenti::frmSelectMieiContiCorrenti()
    : FilterForm(QStringLiteral("frmSelectMieiContiCorrenti"),
                 {&gWhereMieiContiCorrenti, &gMieiContiCorrentiFilterOr, &gMieiContiCorrentiFilterValues,
                  &gMieiContiCorrentiFilterSaved})
{
}

void frmSelectMieiContiCorrenti::CreateFormControls()
{
    const QString caption = QStringLiteral("Cerca Conti Correnti");
    setCaption(caption);
    OsenXPForm1 = Add<SkinForm>(QStringLiteral("OsenXPForm1"));
    OsenXPForm1->setCaption(caption);
    txtBanca = AddTextBox(*this, "txtBanca");
    txtABI = AddTextBox(*this, "txtABI");
    txtCAB = AddTextBox(*this, "txtCAB");
    txtNumeroConto = AddTextBox(*this, "txtNumeroConto");
    txtIntestatario = AddTextBox(*this, "txtIntestatario");
    txtDescrizione = AddTextBox(*this, "txtDescrizione");
    lblBanca = AddLabel(*this, "lblBanca", "Banca");
    lblABI = AddLabel(*this, "lblABI", "ABI");
    lblCAB = AddLabel(*this, "lblCAB", "CAB");
    lblNumeroConto = AddLabel(*this, "lblNumeroConto", "Numero di Conto Corrente");
    lblIntestatario = AddLabel(*this, "lblIntestatario", "Intestatario");
    lblDescrizione = AddLabel(*this, "lblDescrizione", "Descrizione");
    AddAndOr();
    AddCommands(true);

    // The description stands first on the window, as it is the first criterion.
    using namespace layout;
    Arrange({Labelled(lblDescrizione, {txtDescrizione}),
             Labelled(lblBanca, {txtBanca}),
             Labelled(lblABI, {Sized(txtABI, 1500)}),
             Labelled(lblCAB, {Sized(txtCAB, 1500)}),
             Labelled(lblNumeroConto, {txtNumeroConto}),
             Labelled(lblIntestatario, {txtIntestatario})});
}

// The caret stands after the remembered description.
void frmSelectMieiContiCorrenti::Form_Activate()
{
    FormProc(*this, "Form_Activate", [&] {
        txtDescrizione->SetFocus();
        txtDescrizione->SendKey(vbKeyEnd);
    });
}

std::vector<FilterForm::Criterion> frmSelectMieiContiCorrenti::Criteria()
{
    return {{Kind::Text, txtDescrizione, QStringLiteral("a.Descrizione")},
            {Kind::Text, txtBanca, QStringLiteral("a.Banca")},
            {Kind::Text, txtABI, QStringLiteral("a.ABI")},
            {Kind::Text, txtCAB, QStringLiteral("a.CAB")},
            {Kind::Text, txtNumeroConto, QStringLiteral("a.NumeroConto")},
            {Kind::Text, txtIntestatario, QStringLiteral("a.Intestatari")}};
}

ListForm* frmSelectMieiContiCorrenti::List() { return LoadedInstance<frmMieiContiCorrenti>(); }

} // namespace verbanto
