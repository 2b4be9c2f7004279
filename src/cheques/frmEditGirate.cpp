#include "cheques/frmEditGirate.h"
#include "shared/FormKit.h"
#include "shared/Proc.h"
#include "shared/basGeneral.h"

namespace verbanto {

using namespace platform;
using namespace ChequeLayout;

frmEditGirate::frmEditGirate() : ReceivedChequeDialog(QStringLiteral("frmEditGirate"))
{
    setDesignSize(FieldLeft + FieldWidth + 2 * LabelLeft, 200 + 3 * Row + 1000 + 900);
}

void frmEditGirate::CreateFormControls()
{
    const QString caption = QStringLiteral("Gira Assegno Ricevuto");
    setCaption(caption);
    OsenXPForm1 = Add<SkinForm>(QStringLiteral("OsenXPForm1"));
    OsenXPForm1->setCaption(caption);
    const double name = 200, date = name + Row, full = date + Row, note = full + Row;
    cboNome = Add<ComboBox>(QStringLiteral("cboNome"));
    cboNome->Move(FieldLeft, name, FieldWidth, FieldHeight);
    cboNome->KeyDown = [this](int& key, int) { cboNome_KeyUp(key); };
    lblNome = AddLabel(*this, QStringLiteral("lblNome"), QStringLiteral("Benificiario"), name);
    txtDataGirata = AddDatePicker(*this, QStringLiteral("txtDataGirata"), date);
    lblDataGirata = AddLabel(*this, QStringLiteral("lblDataGirata"), QStringLiteral("Data Girata"), date);
    chkGirataPiena = Add<CheckBox>(QStringLiteral("chkGirataPiena"), QStringLiteral("Girata Piena"));
    chkGirataPiena->Move(FieldLeft, full, 2000, FieldHeight);
    txtNote = AddTextBox(*this, QStringLiteral("txtNote"), note, FieldLeft, FieldWidth, 1000);
    lblNote = AddLabel(*this, QStringLiteral("lblNote"), QStringLiteral("Note"), note);
    AddCommands(LabelLeft, note + 1150, QStringLiteral("Stampa"));
}

void frmEditGirate::Form_Load()
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
