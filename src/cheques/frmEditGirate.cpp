#include "cheques/frmEditGirate.h"
#include "shared/basGeneral.h"
#include "shared/SqlLiteral.h"
#include "shared/TracedProcedure.h"
#include "shared/WindowControls.h"

namespace verbanto {

using namespace platform;

frmEditGirate::frmEditGirate() : ReceivedChequeDialog(QStringLiteral("frmEditGirate")) {}

void frmEditGirate::CreateFormControls()
{
    const QString caption = QStringLiteral("Gira Assegno Ricevuto");
    setCaption(caption);
    OsenXPForm1 = Add<SkinForm>(QStringLiteral("OsenXPForm1"));
    OsenXPForm1->setCaption(caption);
    cboNome = Add<ComboBox>(QStringLiteral("cboNome"));
    cboNome->KeyDown = [this](int& key, int) { cboNome_KeyUp(key); };
    lblNome = Add<Label>(QStringLiteral("lblNome"), QStringLiteral("Benificiario"));
    Button* today = nullptr;
    txtDataGirata = AddDatePicker(*this, QStringLiteral("txtDataGirata"), &today);
    lblDataGirata = Add<Label>(QStringLiteral("lblDataGirata"), QStringLiteral("Data Girata"));
    chkGirataPiena = Add<CheckBox>(QStringLiteral("chkGirataPiena"), QStringLiteral("Girata Piena"));
    txtNote = Add<TextBox>(QStringLiteral("txtNote"), true);
    lblNote = Add<Label>(QStringLiteral("lblNote"), QStringLiteral("Note"));
    AddCommands(QStringLiteral("Stampa"));

    using namespace layout;
    Arrange({Labelled(lblNome, {cboNome}),
             Labelled(lblDataGirata, {txtDataGirata, today}),
             Row({chkGirataPiena}),
             Labelled(lblNote, {Sized(txtNote, 0, 1000)})});
}

void frmEditGirate::LoadForm()
{
    FormProc(*this, "Form_Load", [&] {
        gNewRecord = true;
        DisattivaTabstop(Controls());
        CenterForm(*this);
        OpenDb();
        FillCombo(*cboNome, QStringLiteral("SELECT ANAGRAFICAID,cognome, Nome FROM Anagrafica order by cognome, nome "),
                  QStringLiteral("ANAGRAFICAID"),
                  [](const Recordset& rs) { return NameOf(rs, QStringLiteral("cognome"), QStringLiteral("Nome")); });
        ResetRs();
        gNewRecord = true;
    });
}

void frmEditGirate::Form_Activate()
{
    FormProc(*this, "Form_Activate", [&] { txtDataGirata->setValue(QDate::currentDate()); });
}

void frmEditGirate::cboNome_KeyUp(int keyCode)
{
    FormProc(*this, "cboNome_KeyUp", [&] { ComboKeyUp(*cboNome, keyCode); });
}

std::vector<EditorForm::Check> frmEditGirate::Checks()
{
    return {ChoiceCheck(QStringLiteral("Selezionare il beneficiario"), *cboNome),
            DateCheck(QStringLiteral("Formato della data di girata non valido"), *txtDataGirata), DeadlineCheck()};
}

QString frmEditGirate::InsertStatement()
{
    return InsertSql(QStringLiteral("INSERT INTO Girate (PagamentiID, ANAGRAFICAID, GirataPiena, ") +
                         QStringLiteral("DataGirata, DateTimeCreated,notegirata) ") + QStringLiteral("VALUES ("),
                     {DeadlineValue(), ChosenId(*cboNome), SqlNumber(chkGirataPiena->Value() == 1 ? 1 : 0),
                      OptionalDateValue(*txtDataGirata), Timestamp(), TextValue(txtNote->Text())});
}

} // namespace verbanto
