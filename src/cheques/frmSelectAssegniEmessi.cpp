#include "cheques/frmSelectAssegniEmessi.h"
#include "cheques/frmAssegniEmessi.h"
#include "shared/basGeneral.h"
#include "shared/ModalWindows.h"
#include "shared/WindowControls.h"

namespace verbanto {

using namespace platform;

frmSelectAssegniEmessi::frmSelectAssegniEmessi()
    : FilterForm(QStringLiteral("frmSelectAssegniEmessi"),
                 {&gWhereAssegniEmessi, &gAssegniEmessiFilterOr, &gAssegniEmessiFilterValues, &gAssegniEmessiFilterSaved})
{
}

void frmSelectAssegniEmessi::CreateFormControls()
{
    const QString caption = QStringLiteral("Cerca Assegni Emessi");
    setCaption(caption);
    OsenXPForm1 = Add<SkinForm>(QStringLiteral("OsenXPForm1"));
    OsenXPForm1->setCaption(caption);
    auto check = [&](const char* name, const char* text) {
        CheckBox* c = Add<CheckBox>(QString::fromLatin1(name), QString::fromLatin1(text));
        c->setValue(2);   // grayed: any
        return c;
    };

    txtNumero = AddTextBox(*this, "txtNumero");
    cboDescrizione = Add<ComboBox>(QStringLiteral("cboDescrizione"));
    lblDescrizione = AddLabel(*this, "lblDescrizione", "Conto Corrente");
    lblNome = AddLabel(*this, "lblNome", "Beneficiario");
    cboNome = Add<ComboBox>(QStringLiteral("cboNome"));
    lblNumero = AddLabel(*this, "lblNumero", "Numero Assegno");
    chkSuPiazza = check("chkSuPiazza", "Su piazza");
    lblLuogoEmissione = AddLabel(*this, "lblLuogoEmissione", "Luogo di emissione");
    txtLuogoEmissione = AddTextBox(*this, "txtLuogoEmissione");
    chkTrasferibile = check("chkTrasferibile", "Trasferibile");
    chkSbarrato = check("chkSbarrato", "Sbarrato");
    txtCausale = AddTextBox(*this, "txtCausale");
    lblCausale = AddLabel(*this, "lblCausale", "Causale");
    txtAssegnoNote = AddTextBox(*this, "txtAssegnoNote");
    lblAssegnoNote = AddLabel(*this, "lblAssegnoNote", "Note");
    lblDataAssegno = AddLabel(*this, "lblDataAssegno", "Data Assegno");
    OsenXPLabel2 = AddLabel(*this, "OsenXPLabel2", "da");
    lblDataA = AddLabel(*this, "lblDataA", "a");
    lblImporto = AddLabel(*this, "lblImporto", "Importo (€)");
    OsenXPLabel5 = AddLabel(*this, "OsenXPLabel5", "da");
    lblImportoA = AddLabel(*this, "lblImportoA", "a");
    txtImportoDa = AddTextBox(*this, "txtImportoDa");
    txtImportoA = AddTextBox(*this, "txtImportoA");
    AddAndOr();
    txtDataDa = AddTextBox(*this, "txtDataDa");
    txtDataA = AddTextBox(*this, "txtDataA");
    AddCommands(true);

    using namespace layout;
    Arrange({Labelled(lblDescrizione, {cboDescrizione}),
             Labelled(lblNome, {cboNome}),
             Labelled(lblNumero, {txtNumero}),
             Labelled(lblDataAssegno, {OsenXPLabel2, txtDataDa, lblDataA, txtDataA}),
             Labelled(lblLuogoEmissione, {txtLuogoEmissione}),
             Row({chkSuPiazza, chkTrasferibile, chkSbarrato}),
             Labelled(lblImporto, {OsenXPLabel5, txtImportoDa, lblImportoA, txtImportoA}),
             Labelled(lblCausale, {txtCausale}),
             Labelled(lblAssegnoNote, {txtAssegnoNote})});
}

void frmSelectAssegniEmessi::FillCombos()
{
    FillCombo(*cboDescrizione, QStringLiteral("SELECT CONTOCORRENTEID, Descrizione FROM MieiContiCorrenti order by descrizione "),
              QStringLiteral("CONTOCORRENTEID"), [](const Recordset& rs) { return rs["Descrizione"].Value().Text(); });
    FillCombo(*cboNome, QStringLiteral("SELECT ANAGRAFICAID, Nome, cognome FROM Anagrafica order by cognome, nome "),
              QStringLiteral("ANAGRAFICAID"),
              [](const Recordset& rs) { return NameOf(rs, QStringLiteral("cognome"), QStringLiteral("Nome")); });
}

std::vector<FilterForm::Check> frmSelectAssegniEmessi::Checks()
{
    return {{txtDataDa, false, QStringLiteral("Formato della data di partenza non valido")},
            {txtDataA, false, QStringLiteral("Formato della data di arrivo non valido")},
            {txtImportoDa, true, QStringLiteral("Formato dell'importo minimo non valido")},
            {txtImportoA, true, QStringLiteral("Formato dell'importo massimo non valido")}};
}

std::vector<FilterForm::Criterion> frmSelectAssegniEmessi::Criteria()
{
    return {{Kind::Combo, cboDescrizione, QStringLiteral("a.CONTOCORRENTEID = ")},
            {Kind::Combo, cboNome, QStringLiteral("a.ANAGRAFICAID = ")},
            {Kind::Text, txtNumero, QStringLiteral("a.Numero")},
            {Kind::DateFrom, txtDataDa, QStringLiteral("a.DataAssegno")},
            {Kind::DateTo, txtDataA, QStringLiteral("a.DataAssegno")},
            {Kind::Text, txtLuogoEmissione, QStringLiteral("a.LuogoEmissione")},
            {Kind::Check, chkSuPiazza, QStringLiteral("a.SuPiazza = ")},
            {Kind::Check, chkTrasferibile, QStringLiteral("a.Trasferibile =")},
            {Kind::Check, chkSbarrato, QStringLiteral("a.Sbarrato =")},
            {Kind::AmountFrom, txtImportoDa, QStringLiteral("a.Importo")},
            {Kind::AmountTo, txtImportoA, QStringLiteral("a.Importo")},
            {Kind::Text, txtCausale, QStringLiteral("a.Causale")},
            {Kind::Text, txtAssegnoNote, QStringLiteral("a.AssegnoNote")}};
}

ListForm* frmSelectAssegniEmessi::List() { return LoadedInstance<frmAssegniEmessi>(); }

} // namespace verbanto
