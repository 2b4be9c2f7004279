#include "cheques/frmEditAssegniEmessi.h"
#include "cheques/ChequeDialogs.h"
#include "cheques/frmAssegniEmessi.h"
#include "platform/Italian.h"
#include "platform/MsgBoxDialog.h"
#include "shared/basGeneral.h"
#include "shared/basRegistering.h"
#include "shared/ModalWindows.h"
#include "shared/SqlLiteral.h"
#include "shared/TracedProcedure.h"
#include "shared/WindowControls.h"

namespace verbanto {

using namespace platform;

namespace {
const QString kTitle = QStringLiteral("Gestione Verbanto");

// A stored amount as the user reads and retypes it: decimal comma, no grouping ("12,5").
QString AmountForEditing(const Variant& stored)
{
    if (!stored.IsNumber())
        return stored.Text();
    // All its digits, so that saving again keeps the value.
    return SqlNumber(stored.CDbl()).replace(QLatin1Char('.'), QLatin1Char(','));
}

// A stored mark: ticked when non-zero; an absent one counts as not ticked.
int MarkOf(const Variant& stored)
{
    return stored.IsNumeric() && stored.CDbl() != 0 ? 1 : 0;
}

bool IsNumber(const QString& text) { return ParseNumber(text.trimmed()).has_value(); }
} // namespace

frmEditAssegniEmessi::frmEditAssegniEmessi() : EditorForm(QStringLiteral("frmEditAssegniEmessi")) { refillListAfterSave_ = true; }

void frmEditAssegniEmessi::CreateFormControls()
{
    const QString caption = QStringLiteral("Assegni Emessi");
    setCaption(caption);

    chkSuPiazza = Add<CheckBox>(QStringLiteral("chkSuPiazza"), QStringLiteral("Su piazza"));
    Button* today = nullptr;
    txtDataAssegno = AddDatePicker(*this, QStringLiteral("txtDataAssegno"), &today);
    txtDataAssegno->Validate = [this](bool& cancel) { txtDataAssegno_Validate(cancel); };
    txtNumero = AddTextBox(*this, "txtNumero");
    cboDescrizione = Add<ComboBox>(QStringLiteral("cboDescrizione"));
    cboDescrizione->Click = [this] { cboDescrizione_Change(); };
    cboDescrizione->KeyDown = [this](int& key, int) { cboDescrizione_KeyUp(key); };
    lblDescrizione = AddLabel(*this, "lblDescrizione", "Conto Corrente");
    OsenXPForm1 = Add<SkinForm>(QStringLiteral("OsenXPForm1"));
    OsenXPForm1->setCaption(caption);
    lblNome = AddLabel(*this, "lblNome", "Beneficiario");
    cboNome = Add<ComboBox>(QStringLiteral("cboNome"));
    cboNome->Click = [this] { cboNome_Change(); };
    cboNome->KeyDown = [this](int& key, int) { cboNome_KeyUp(key); };
    lblNumero = AddLabel(*this, "lblNumero", "Numero Assegno");
    lblDataAssegno = AddLabel(*this, "lblDataAssegno", "Data Assegno");
    lblLuogoEmissione = AddLabel(*this, "lblLuogoEmissione", "Luogo di emissione");
    txtLuogoEmissione = AddTextBox(*this, "txtLuogoEmissione");
    chkTrasferibile = Add<CheckBox>(QStringLiteral("chkTrasferibile"), QStringLiteral("Trasferibile"));
    chkSbarrato = Add<CheckBox>(QStringLiteral("chkSbarrato"), QStringLiteral("Sbarrato"));
    txtImporto = AddTextBox(*this, "txtImporto");
    lblImporto = AddLabel(*this, "lblImporto", "Importo (€)");
    txtCausale = AddTextBox(*this, "txtCausale");
    lblCausale = AddLabel(*this, "lblCausale", "Causale");
    txtAssegnoNote = AddTextBox(*this, "txtAssegnoNote", true);
    lblAssegnoNote = AddLabel(*this, "lblAssegnoNote", "Note");
    AddCommands(QStringLiteral("Stampa"));

    using namespace layout;
    Arrange({Labelled(lblDescrizione, {cboDescrizione}),
             Labelled(lblNome, {cboNome}),
             Labelled(lblNumero, {Sized(txtNumero, 2400)}),
             Labelled(lblDataAssegno, {txtDataAssegno, today}),
             Labelled(lblLuogoEmissione, {txtLuogoEmissione}),
             Row({chkSuPiazza, chkTrasferibile, chkSbarrato}),
             Labelled(lblImporto, {Sized(txtImporto, 2400)}),
             Labelled(lblCausale, {txtCausale}),
             Labelled(lblAssegnoNote, {Sized(txtAssegnoNote, 0, 1000)})});
}

void frmEditAssegniEmessi::LoadForm()
{
    FormProc(*this, "Form_Load", [&] {
        idDelContoCorrente = -1;
        idDelBeneficiarioEm = -1;
        CenterForm(*this);
        OpenDb();
        DisattivaTabstop(Controls());
        double heldAccount = -1, heldPayee = -1;
        if (!gNewRecord) {
            gRsOpen(QStringLiteral("SELECT a.ASSEGNIEMESSIID, a.CONTOCORRENTEID, b.Descrizione, a.ANAGRAFICAID, c.Nome,  ") +
                    QStringLiteral("a.Numero, a.DataAssegno, a.LuogoEmissione, a.SuPiazza, a.Trasferibile,  ") +
                    QStringLiteral("a.Sbarrato, a.Importo, a.Causale, a.AssegnoNote, a.DateTimeCreated,  ") +
                    QStringLiteral("a.DateTimeLastUpdated ") + QStringLiteral("FROM AssegniEmessi a, MieiContiCorrenti b, Anagrafica c ") +
                    QStringLiteral("WHERE ASSEGNIEMESSIID = ") + SqlNumber(Forms::Instance<frmAssegniEmessi>().mASSEGNIEMESSIID) +
                    QStringLiteral(" AND ") +
                    QStringLiteral("a.CONTOCORRENTEID = b.CONTOCORRENTEID AND a.ANAGRAFICAID = c.ANAGRAFICAID "));
            if (!gRs->EOF_()) {
                const Recordset& rs = *gRs;
                heldAccount = Val(rs["CONTOCORRENTEID"].Value().Text());
                heldPayee = Val(rs["ANAGRAFICAID"].Value().Text());
                txtNumero->setText(rs["Numero"].Value().Text());
                txtDataAssegno->setStoredText(rs["DataAssegno"].Value().Text());
                txtLuogoEmissione->setText(rs["LuogoEmissione"].Value().Text());
                chkSuPiazza->setValue(MarkOf(rs["SuPiazza"].Value()));
                chkTrasferibile->setValue(MarkOf(rs["Trasferibile"].Value()));
                chkSbarrato->setValue(MarkOf(rs["Sbarrato"].Value()));
                txtImporto->setText(AmountForEditing(rs["Importo"].Value()));
                txtCausale->setText(rs["Causale"].Value().Text());
                txtAssegnoNote->setText(rs["AssegnoNote"].Value().Text());
            }
            CloseDb();
            ResetRs();
        }
        const int account = FillCombo(*cboDescrizione,
                                      QStringLiteral("SELECT CONTOCORRENTEID, Descrizione FROM MieiContiCorrenti order by descrizione "),
                                      QStringLiteral("CONTOCORRENTEID"),
                                      [](const Recordset& rs) { return rs["Descrizione"].Value().Text(); }, heldAccount);
        if (account >= 0)
            idDelContoCorrente = cboDescrizione->ItemData(account);
        const int payee = FillCombo(*cboNome, QStringLiteral("SELECT ANAGRAFICAID, Nome, cognome FROM Anagrafica order by cognome, nome"),
                                    QStringLiteral("ANAGRAFICAID"),
                                    [](const Recordset& rs) { return NameOf(rs, QStringLiteral("cognome"), QStringLiteral("Nome")); },
                                    heldPayee);
        if (payee >= 0)
            idDelBeneficiarioEm = cboNome->ItemData(payee);
        if (gNewRecord) {
            idDelContoCorrente = -1;
            idDelBeneficiarioEm = -1;
        }
    });
}

void frmEditAssegniEmessi::Form_Activate()
{
    FormProc(*this, "Form_Activate", [&] {
        if (gNewRecord)
            txtDataAssegno->setValue(QDate::currentDate());
    });
}

void frmEditAssegniEmessi::cboDescrizione_Change()
{
    FormProc(*this, "cboDescrizione_Change", [&] { ComboChange(*cboDescrizione, idDelContoCorrente); });
}

void frmEditAssegniEmessi::cboNome_Change()
{
    FormProc(*this, "cboNome_Change", [&] { ComboChange(*cboNome, idDelBeneficiarioEm); });
}

void frmEditAssegniEmessi::cboDescrizione_KeyUp(int keyCode) { ComboKeyUp(*cboDescrizione, keyCode); }

void frmEditAssegniEmessi::cboNome_KeyUp(int keyCode) { ComboKeyUp(*cboNome, keyCode); }

void frmEditAssegniEmessi::txtDataAssegno_Validate(bool& cancel)
{
    FormProc(*this, "txtDataAssegno_Validate", [&] {
        if (!IsDate(*txtDataAssegno)) {
            MyMsgBox(QStringLiteral("Formato della data dell'assegno non valido"), vbExclamation, kTitle);
            cancel = true;
        }
    });
}

std::vector<EditorForm::Check> frmEditAssegniEmessi::Checks()
{
    return {
        {QStringLiteral("Selezionare il conto corrente"), [&] { return cboDescrizione->ListIndex() == -1 || idDelContoCorrente == -1; }},
        {QStringLiteral("Selezionare il beneficiario"), [&] { return cboNome->ListIndex() == -1 || idDelBeneficiarioEm == -1; }},
        {QStringLiteral("Inserire il numero dell'assegno"), [&] { return txtNumero->Text().trimmed().isEmpty(); }},
        {QStringLiteral("Formato del numero dell'assegno non valido"), [&] { return !IsNumber(txtNumero->Text()); }},
        {QStringLiteral("Inserire la data dell'assegno"), [&] { return txtDataAssegno->Text().trimmed().isEmpty(); }},
        {QStringLiteral("Formato della data dell'assegno non valido"), [&] { return !IsDate(*txtDataAssegno); }},
        {QStringLiteral("Inserire l'importo dell'assegno"), [&] { return txtImporto->Text().trimmed().isEmpty(); }},
        {QStringLiteral("Formato dell'importo dell'assegno non valido"), [&] { return !IsNumber(txtImporto->Text()); }},
    };
}

frmEditAssegniEmessi::Values frmEditAssegniEmessi::values() const
{
    Values v;
    v.account = SqlNumber(idDelContoCorrente);
    v.payee = SqlNumber(idDelBeneficiarioEm);
    v.number = TextValue(txtNumero->Text());
    v.date = DateValue(*txtDataAssegno, QStringLiteral("DataAssegno"));
    v.place = TextValue(txtLuogoEmissione->Text());
    v.suPiazza = SqlNumber(chkSuPiazza->Value());
    v.trasferibile = SqlNumber(chkTrasferibile->Value());
    v.sbarrato = SqlNumber(chkSbarrato->Value());
    // The amount as a plain number, however the user grouped or separated it ("1.234,50" -> 1234.5).
    v.amount = SqlNumber(ParseNumber(txtImporto->Text().trimmed()).value_or(0));
    v.reason = TextValue(txtCausale->Text());
    v.notes = TextValue(txtAssegnoNote->Text());
    return v;
}

QString frmEditAssegniEmessi::InsertStatement()
{
    const Values v = values();
    return InsertSql(QStringLiteral("INSERT INTO AssegniEmessi (CONTOCORRENTEID, ANAGRAFICAID, Numero, ") +
                         QStringLiteral("DataAssegno, LuogoEmissione, SuPiazza, Trasferibile, Sbarrato, ") +
                         QStringLiteral("Importo, Causale, AssegnoNote, DateTimeCreated) ") + QStringLiteral("VALUES ("),
                     {v.account, v.payee, v.number, v.date, v.place, v.suPiazza, v.trasferibile, v.sbarrato, v.amount, v.reason,
                      v.notes, Timestamp()});
}

QString frmEditAssegniEmessi::UpdateStatement()
{
    const Values v = values();
    return UpdateSql(QStringLiteral("AssegniEmessi"),
                     {{QStringLiteral("CONTOCORRENTEID"), v.account},
                      {QStringLiteral("ANAGRAFICAID"), v.payee},
                      {QStringLiteral("Numero"), v.number},
                      {QStringLiteral("DataAssegno"), v.date},
                      {QStringLiteral("LuogoEmissione"), v.place},
                      {QStringLiteral("SuPiazza"), v.suPiazza},
                      {QStringLiteral("Trasferibile"), v.trasferibile},
                      {QStringLiteral("Sbarrato"), v.sbarrato},
                      {QStringLiteral("Importo"), v.amount},
                      {QStringLiteral("Causale"), v.reason},
                      {QStringLiteral("AssegnoNote"), v.notes}},
                     QStringLiteral("ASSEGNIEMESSIID"), Forms::Instance<frmAssegniEmessi>().mASSEGNIEMESSIID);
}

ListForm* frmEditAssegniEmessi::List() { return LoadedInstance<frmAssegniEmessi>(); }

} // namespace verbanto
