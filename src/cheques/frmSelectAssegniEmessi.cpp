#include "cheques/frmSelectAssegniEmessi.h"
#include "cheques/ChequeKit.h"
#include "cheques/frmAssegniEmessi.h"
#include "shared/FormKit.h"
#include "shared/basGeneral.h"

namespace verbanto {

using namespace platform;
using namespace ChequeLayout;

frmSelectAssegniEmessi::frmSelectAssegniEmessi()
    : FilterForm(QStringLiteral("frmSelectAssegniEmessi"),
                 {&gWhereAssegniEmessi, &gAssegniEmessiFilterOr, &gAssegniEmessiFilterValues, &gAssegniEmessiFilterSaved})
{
    setDesignSize(FieldLeft + FieldWidth + 2 * LabelLeft, 200 + 10 * Row + 1000);
}

void frmSelectAssegniEmessi::CreateFormControls()
{
    const QString caption = QStringLiteral("Cerca Assegni Emessi");
    setCaption(caption);
    OsenXPForm1 = Add<SkinForm>(QStringLiteral("OsenXPForm1"));
    OsenXPForm1->setCaption(caption);
    // Rows of the window, top to bottom.
    const double account = 200, payee = account + Row, number = payee + Row, dates = number + Row, place = dates + Row,
                 marks = place + Row, amounts = marks + Row, reason = amounts + Row, notes = reason + Row, andOr = notes + Row + 60;
    auto check = [&](const char* name, const char* text, double left) {
        CheckBox* c = Add<CheckBox>(QString::fromLatin1(name), QString::fromLatin1(text));
        c->Move(FieldLeft + left, marks, 1500, FieldHeight);
        c->setValue(2);   // grayed: any
        return c;
    };
    auto combo = [&](const char* name, double top) {
        ComboBox* c = Add<ComboBox>(QString::fromLatin1(name));
        c->Move(FieldLeft, top, FieldWidth, FieldHeight);
        return c;
    };
    auto label = [&](const char* name, const char* text, double top, double left = LabelLeft, double width = FieldLeft - LabelLeft) {
        return AddLabel(*this, QString::fromLatin1(name), QString::fromUtf8(text), top, left, width);
    };

    txtNumero = AddTextBox(*this, QStringLiteral("txtNumero"), number);
    cboDescrizione = combo("cboDescrizione", account);
    lblDescrizione = label("lblDescrizione", "Conto Corrente", account);
    lblNome = label("lblNome", "Beneficiario", payee);
    cboNome = combo("cboNome", payee);
    lblNumero = label("lblNumero", "Numero Assegno", number);
    chkSuPiazza = check("chkSuPiazza", "Su piazza", 0);
    lblLuogoEmissione = label("lblLuogoEmissione", "Luogo di emissione", place);
    txtLuogoEmissione = AddTextBox(*this, QStringLiteral("txtLuogoEmissione"), place);
    chkTrasferibile = check("chkTrasferibile", "Trasferibile", 1600);
    chkSbarrato = check("chkSbarrato", "Sbarrato", 3200);
    txtCausale = AddTextBox(*this, QStringLiteral("txtCausale"), reason);
    lblCausale = label("lblCausale", "Causale", reason);
    txtAssegnoNote = AddTextBox(*this, QStringLiteral("txtAssegnoNote"), notes);
    lblAssegnoNote = label("lblAssegnoNote", "Note", notes);
    lblDataAssegno = label("lblDataAssegno", "Data Assegno", dates);
    OsenXPLabel2 = label("OsenXPLabel2", "da", dates, FieldLeft, 300);
    lblDataA = label("lblDataA", "a", dates, FieldLeft + 2450, 300);
    lblImporto = label("lblImporto", "Importo (€)", amounts);
    OsenXPLabel5 = label("OsenXPLabel5", "da", amounts, FieldLeft, 300);
    lblImportoA = label("lblImportoA", "a", amounts, FieldLeft + 2450, 300);
    txtImportoDa = AddTextBox(*this, QStringLiteral("txtImportoDa"), amounts, FieldLeft + 350, 1900);
    txtImportoA = AddTextBox(*this, QStringLiteral("txtImportoA"), amounts, FieldLeft + 2800, 1900);
    AddAndOr(FieldLeft, andOr);
    txtDataDa = AddTextBox(*this, QStringLiteral("txtDataDa"), dates, FieldLeft + 350, 1900);
    txtDataA = AddTextBox(*this, QStringLiteral("txtDataA"), dates, FieldLeft + 2800, 1900);
    AddCommands(LabelLeft, andOr + Row + 100, true);
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
