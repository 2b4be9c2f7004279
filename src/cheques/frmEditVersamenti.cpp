#include "cheques/frmEditVersamenti.h"
#include "shared/FormKit.h"
#include "shared/Proc.h"
#include "shared/basGeneral.h"

namespace verbanto {

using namespace platform;
using namespace ChequeLayout;

frmEditVersamenti::frmEditVersamenti() : ReceivedChequeDialog(QStringLiteral("frmEditVersamenti"))
{
    setDesignSize(FieldLeft + FieldWidth + 2 * LabelLeft, 200 + 2 * Row + 1000 + 900);
}

void frmEditVersamenti::CreateFormControls()
{
    const QString caption = QStringLiteral("Versa Assegno Ricevuto");
    setCaption(caption);
    OsenXPForm1 = Add<SkinForm>(QStringLiteral("OsenXPForm1"));
    OsenXPForm1->setCaption(caption);
    const double account = 200, date = account + Row, note = date + Row;
    cboDescrizione = Add<ComboBox>(QStringLiteral("cboDescrizione"));
    cboDescrizione->Move(FieldLeft, account, FieldWidth, FieldHeight);
    lblDescrizione = AddLabel(*this, QStringLiteral("lblDescrizione"), QStringLiteral("Conto Corrente"), account);
    txtDataVersamento = AddDatePicker(*this, QStringLiteral("txtDataVersamento"), date);
    lblDataVersamento = AddLabel(*this, QStringLiteral("lblDataVersamento"), QStringLiteral("Data Versamento"), date);
    txtNote = AddTextBox(*this, QStringLiteral("txtNote"), note, FieldLeft, FieldWidth, 1000);
    lblNote = AddLabel(*this, QStringLiteral("lblNote"), QStringLiteral("Note"), note);
    AddCommands(LabelLeft, note + 1150, QStringLiteral("Stampa"));
}

void frmEditVersamenti::Form_Load()
{
    FormProc(*this, "Form_Load", [&] {
        DisattivaTabstop(Controls());
        txtDataVersamento->setValue(QDate::currentDate());
        gNewRecord = true;
        CenterForm(*this);
        OpenDb();
        FillCombo(*cboDescrizione, QStringLiteral("SELECT CONTOCORRENTEID, Descrizione FROM MieiContiCorrenti order by descrizione "),
                  QStringLiteral("CONTOCORRENTEID"), [](const Recordset& rs) { return rs["Descrizione"].Value().Text(); });
        ResetRs();
    });
}

std::vector<EditorForm::Check> frmEditVersamenti::Checks()
{
    return {ChoiceCheck(QStringLiteral("Selezionare il Conto Corrente"), *cboDescrizione),
            DateCheck(QStringLiteral("Formato della data di versamento non valido"), *txtDataVersamento), DeadlineCheck()};
}

QString frmEditVersamenti::InsertStatement()
{
    return InsertSql(QStringLiteral("INSERT INTO Versamenti (PagamentiID, CONTOCORRENTEID, DataVersamento, ") +
                         QStringLiteral("noteversamento,DateTimeCreated) ") + QStringLiteral("VALUES ("),
                     {DeadlineValue(), ChosenId(*cboDescrizione), OptionalDateValue(*txtDataVersamento),
                      TextValue(txtNote->Text()), Timestamp()});
}

} // namespace verbanto
