#include "cheques/frmEditVersamenti.h"
#include "shared/basGeneral.h"
#include "shared/TracedProcedure.h"
#include "shared/WindowControls.h"

namespace verbanto {

using namespace platform;

frmEditVersamenti::frmEditVersamenti() : ReceivedChequeDialog(QStringLiteral("frmEditVersamenti")) {}

void frmEditVersamenti::CreateFormControls()
{
    const QString caption = QStringLiteral("Versa Assegno Ricevuto");
    setCaption(caption);
    OsenXPForm1 = Add<SkinForm>(QStringLiteral("OsenXPForm1"));
    OsenXPForm1->setCaption(caption);
    cboDescrizione = Add<ComboBox>(QStringLiteral("cboDescrizione"));
    lblDescrizione = Add<Label>(QStringLiteral("lblDescrizione"), QStringLiteral("Conto Corrente"));
    Button* today = nullptr;
    txtDataVersamento = AddDatePicker(*this, QStringLiteral("txtDataVersamento"), &today);
    lblDataVersamento = Add<Label>(QStringLiteral("lblDataVersamento"), QStringLiteral("Data Versamento"));
    txtNote = Add<TextBox>(QStringLiteral("txtNote"), true);
    lblNote = Add<Label>(QStringLiteral("lblNote"), QStringLiteral("Note"));
    AddCommands(QStringLiteral("Stampa"));

    using namespace layout;
    Arrange({Labelled(lblDescrizione, {cboDescrizione}),
             Labelled(lblDataVersamento, {txtDataVersamento, today}),
             Labelled(lblNote, {Sized(txtNote, 0, 1000)})});
}

void frmEditVersamenti::LoadForm()
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
