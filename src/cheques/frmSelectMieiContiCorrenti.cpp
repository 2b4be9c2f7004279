#include "cheques/frmSelectMieiContiCorrenti.h"
#include "cheques/ChequeKit.h"
#include "cheques/frmMieiContiCorrenti.h"
#include "shared/FormKit.h"
#include "shared/Proc.h"
#include "shared/basGeneral.h"

namespace verbanto {

using namespace platform;
using namespace ChequeLayout;

frmSelectMieiContiCorrenti::frmSelectMieiContiCorrenti()
    : FilterForm(QStringLiteral("frmSelectMieiContiCorrenti"),
                 {&gWhereMieiContiCorrenti, &gMieiContiCorrentiFilterOr, &gMieiContiCorrentiFilterValues,
                  &gMieiContiCorrentiFilterSaved})
{
    setDesignSize(FieldLeft + FieldWidth + 2 * LabelLeft, 200 + 8 * Row + 700);
}

void frmSelectMieiContiCorrenti::CreateFormControls()
{
    const QString caption = QStringLiteral("Cerca Conti Correnti");
    setCaption(caption);
    OsenXPForm1 = Add<SkinForm>(QStringLiteral("OsenXPForm1"));
    OsenXPForm1->setCaption(caption);
    // The description stands first on the window, as it is the first criterion.
    const double descrizione = 200, banca = descrizione + Row, abi = banca + Row, cab = abi + Row, conto = cab + Row,
                 intestatario = conto + Row, andOr = intestatario + Row + 60;
    txtBanca = AddTextBox(*this, QStringLiteral("txtBanca"), banca);
    txtABI = AddTextBox(*this, QStringLiteral("txtABI"), abi, FieldLeft, 1500);
    txtCAB = AddTextBox(*this, QStringLiteral("txtCAB"), cab, FieldLeft, 1500);
    txtNumeroConto = AddTextBox(*this, QStringLiteral("txtNumeroConto"), conto);
    txtIntestatario = AddTextBox(*this, QStringLiteral("txtIntestatario"), intestatario);
    txtDescrizione = AddTextBox(*this, QStringLiteral("txtDescrizione"), descrizione);
    lblBanca = AddLabel(*this, QStringLiteral("lblBanca"), QStringLiteral("Banca"), banca);
    lblABI = AddLabel(*this, QStringLiteral("lblABI"), QStringLiteral("ABI"), abi);
    lblCAB = AddLabel(*this, QStringLiteral("lblCAB"), QStringLiteral("CAB"), cab);
    lblNumeroConto = AddLabel(*this, QStringLiteral("lblNumeroConto"), QStringLiteral("Numero di Conto Corrente"), conto);
    lblIntestatario = AddLabel(*this, QStringLiteral("lblIntestatario"), QStringLiteral("Intestatario"), intestatario);
    lblDescrizione = AddLabel(*this, QStringLiteral("lblDescrizione"), QStringLiteral("Descrizione"), descrizione);
    AddAndOr(FieldLeft, andOr);
    AddCommands(LabelLeft, andOr + Row + 100, true);
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
