#include "deadlines/frmEditPagamenti.h"
#include "deadlines/frmPagamenti.h"
#include "mainwindow/frmMain.h"
#include "platform/MsgBoxDialog.h"
#include "shared/basGeneral.h"
#include "shared/basGeneralCustom.h"
#include "shared/basRegistering.h"
#include "shared/ModalWindows.h"
#include "shared/SqlLiteral.h"
#include "shared/TracedProcedure.h"
#include "shared/WindowControls.h"

namespace verbanto {

using namespace platform;

namespace {
const char* const kRecurrences[6] = {"Una sola volta", "Ogni giorno", "Ogni settimana",
                                      "Ogni mese", "Ogni anno", "Ogni giorno lavorativo"};
} // namespace

frmEditPagamenti::frmEditPagamenti() : EditorForm(QStringLiteral("frmEditPagamenti")) { refillListAfterSave_ = true; }

void frmEditPagamenti::CreateFormControls()
{
    const QString caption = QStringLiteral("Scadenze");
    setCaption(caption);
    OsenXPForm1 = Add<SkinForm>(QStringLiteral("OsenXPForm1"));
    OsenXPForm1->setCaption(caption);

    cboSocio = Add<ComboBox>(QStringLiteral("cboSocio"));
    cboSocio->Click = [this] { cboSocio_Change(); };
    cboSocio->KeyDown = [this](int& key, int) { cboSocio_KeyUp(key); };

    Frequenza = Add<Frame>(QStringLiteral("Frequenza"), QStringLiteral("Frequenza"));
    BeginFrame(Frequenza);
    for (int i = 0; i < 6; ++i)
        OsenXPOptionButton[i] = Add<OptionButton>(QStringLiteral("OsenXPOptionButton"), QString::fromUtf8(kRecurrences[i]), i);
    EndFrame();
    OsenXPOptionButton[0]->setValue(true);

    lblSocio = Add<Label>(QStringLiteral("lblSocio"), QStringLiteral("Contatto"));
    txtDataPagamento = Add<DatePicker>(QStringLiteral("txtDataPagamento"));
    txtDataPagamento->Validate = [this](bool& cancel) { txtDataPagamento_Validate(cancel); };
    cmdOggi = Add<Button>(QStringLiteral("cmdOggi"), QStringLiteral("Oggi"));
    cmdOggi->Click = [this] { cmdOggi_Click(); };
    // "Oggi" mends a wrong date: it is not told first that the date is wrong.
    cmdOggi->setCausesValidation(false);
    lblDataPagamento = Add<Label>(QStringLiteral("lblDataPagamento"), QStringLiteral("Data Scadenza"));
    txtCausale = Add<TextBox>(QStringLiteral("txtCausale"));
    lblCausale = Add<Label>(QStringLiteral("lblCausale"), QStringLiteral("Descrizione Scadenza"));
    txtNote = Add<TextBox>(QStringLiteral("txtNote"), true);
    lblNote = Add<Label>(QStringLiteral("lblNote"), QStringLiteral("Note"));
    AddCommands(QStringLiteral("S&tampa promemoria"));

    using namespace layout;
    std::vector<Cell> recurrences(std::begin(OsenXPOptionButton), std::end(OsenXPOptionButton));
    Arrange({Labelled(lblSocio, {cboSocio}),
             Labelled(lblDataPagamento, {txtDataPagamento, cmdOggi}),
             Group(Frequenza, 2, recurrences),
             Labelled(lblCausale, {txtCausale}),
             Labelled(lblNote, {Sized(txtNote, 0, 1000)})});
}

void frmEditPagamenti::LoadForm()
{
    FormProc(*this, "Form_Load", [&] {
        idDelSocio = -1;
        CenterForm(*this);
        DisattivaTabstop(Controls());
        QString keptContact;
        if (!gNewRecord) {
            OpenDb();
            gRsOpen(QStringLiteral("SELECT a.pagamentiid, a.anagraficaid, a.datapagamento, b.Nome, b.cognome,   a.NotePagamento, "
                                   "a.importo, a.causale, a.DateTimeCreated, a.DateTimeLastUpdated FROM Pagamenti a, Anagrafica b "
                                   "WHERE PagamentiID = ") +
                    SqlNumber(Forms::Instance<frmPagamenti>().mPagamentiID) + QStringLiteral(" AND a.ANAGRAFICAID = b.ANAGRAFICAID "));
            if (!gRs->EOF_()) {
                const Recordset& rs = *gRs;
                keptContact = rs["anagraficaid"].Value().Text();
                txtDataPagamento->setStoredText(rs["datapagamento"].Value().Text());
                // A code outside 0 to 5 (or none) selects no option rather than stopping the load.
                const Variant code = rs["importo"].Value();
                const double number = code.IsNumeric() ? code.CDbl() : -1;
                const int index = number == static_cast<int>(number) ? static_cast<int>(number) : -1;
                for (int i = 0; i < 6; ++i)
                    OsenXPOptionButton[i]->setValue(i == index);
                txtCausale->setText(rs["causale"].Value().Text());
                txtNote->setText(rs["NotePagamento"].Value().Text());
            }
            CloseDb();
        }
        const bool contactMode = !gNomeDelContatto.isEmpty();
        if (contactMode && keptContact.isEmpty())
            keptContact = SqlNumber(gIdDelContatto).trimmed();
        OpenDb();
        const int selected = FillCombo(*cboSocio,
                                       QStringLiteral("SELECT anagraficaid, cognome, nome  FROM anagrafica order by tipologiaid desc, cognome, nome "),
                                       QStringLiteral("anagraficaid"),
                                       [](const Recordset& rs) { return NameOf(rs, QStringLiteral("cognome"), QStringLiteral("nome")); },
                                       keptContact.isEmpty() ? -1 : Val(keptContact));
        if (selected >= 0)
            idDelSocio = cboSocio->ItemData(selected);
        // In contact mode the deadline belongs to the list's contact.
        cboSocio->setLocked(contactMode);
        cboSocio->setEnabled(!contactMode);
        if (!contactMode && gNewRecord) {
            cboSocio->setListIndex(-1);
            idDelSocio = -1;
        }
    });
}

void frmEditPagamenti::Form_Activate()
{
    FormProc(*this, "Form_Activate", [&] {
        if (gNewRecord)
            txtDataPagamento->setValue(QDate::currentDate());
    });
}

void frmEditPagamenti::cboSocio_Change()
{
    FormProc(*this, "cboSocio_Change", [&] { ComboChange(*cboSocio, idDelSocio); });
}

void frmEditPagamenti::cboSocio_KeyUp(int keyCode)
{
    FormProc(*this, "cboSocio_KeyUp", [&] { ComboKeyUp(*cboSocio, keyCode); });
}

void frmEditPagamenti::txtDataPagamento_Validate(bool& cancel)
{
    FormProc(*this, "txtDataPagamento_Validate", [&] {
        if (!IsDate(*txtDataPagamento)) {
            MyMsgBox(QStringLiteral("Formato della data del pagamento non valido"), vbExclamation, QStringLiteral("Gestione Verbanto"));
            cancel = true;
        }
    });
}

void frmEditPagamenti::cmdOggi_Click()
{
    FormProc(*this, "cmdOggi_Click", [&] { txtDataPagamento->setValue(QDate::currentDate()); });
}

int frmEditPagamenti::Recurrence() const
{
    for (int i = 0; i < 6; ++i)
        if (OsenXPOptionButton[i]->Value())
            return i;
    return -1;
}

std::vector<EditorForm::Check> frmEditPagamenti::Checks()
{
    return {
        {QStringLiteral("Selezionare il contatto"), [&] { return cboSocio->ListIndex() == -1 || idDelSocio == -1; }},
        {QStringLiteral("Inserire la data della scadenza"), [&] { return txtDataPagamento->Text().trimmed().isEmpty(); }},
        {QStringLiteral("Formato della data della scadenza non valido"), [&] { return !IsDate(*txtDataPagamento); }},
    };
}

QString frmEditPagamenti::contactValue() const { return SqlNumber(idDelSocio); }

QString frmEditPagamenti::dateValue() const { return DateValue(*txtDataPagamento, QStringLiteral("DataPagamento")); }

QString frmEditPagamenti::recurrenceValue() const
{
    const int code = Recurrence();
    return code < 0 ? SqlNull() : Punto(Variant(code));
}

QString frmEditPagamenti::InsertStatement()
{
    return InsertSql(QStringLiteral("INSERT INTO Pagamenti ( ANAGRAFICAID,  Datapagamento, Importo, Causale, NotePagamento, DateTimeCreated) VALUES ("),
                     {contactValue(), dateValue(), recurrenceValue(), TextValue(txtCausale->Text()), TextValue(txtNote->Text()), Timestamp()});
}

QString frmEditPagamenti::UpdateStatement()
{
    return UpdateSql(QStringLiteral("Pagamenti"),
                     {{QStringLiteral("ANAGRAFICAID"), contactValue()},
                      {QStringLiteral("DataPagamento"), dateValue()},
                      {QStringLiteral("Importo"), recurrenceValue()},
                      {QStringLiteral("Causale"), TextValue(txtCausale->Text())},
                      {QStringLiteral("notepagamento"), TextValue(txtNote->Text())}},
                     QStringLiteral("PagamentiID"), Forms::Instance<frmPagamenti>().mPagamentiID);
}

ListForm* frmEditPagamenti::List() { return LoadedInstance<frmPagamenti>(); }

// The reminders follow every saved deadline at once.
void frmEditPagamenti::AfterSave() { frmMain::RefreshUpcomingCount(); }

} // namespace verbanto
