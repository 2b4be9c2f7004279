#include "contacts/frmEditTipologiaPersone.h"
#include "contacts/ContactFields.h"
#include "contacts/frmTipologiaPersone.h"
#include "shared/basGeneral.h"
#include "shared/basGeneralCustom.h"
#include "shared/ModalWindows.h"
#include "shared/SqlLiteral.h"
#include "shared/TracedProcedure.h"
#include "shared/WindowControls.h"

namespace verbanto {

using namespace platform;

namespace {
double typeInHand() { return Forms::Instance<frmTipologiaPersone>().mTIPOLOGIAID; }
} // namespace

frmEditTipologiaPersone::frmEditTipologiaPersone() : EditorForm(QStringLiteral("frmEditTipologiaPersone")) {}

void frmEditTipologiaPersone::CreateFormControls()
{
    const QString caption = QStringLiteral("Tipologie Soci");
    OsenXPForm1 = Add<SkinForm>(QStringLiteral("OsenXPForm1"));
    OsenXPForm1->setCaption(caption);
    setCaption(caption);
    AddTypeNameBox(*this, txtTipologia, lblTipologia);
    AddCommands(QStringLiteral("Stampa"));
    Arrange({layout::Labelled(lblTipologia, {txtTipologia})}, 3300);
}

void frmEditTipologiaPersone::LoadForm()
{
    FormProc(*this, "Form_Load", [&] {
        CenterForm(*this);
        OpenDb();
        DisattivaTabstop(Controls());
        if (gNewRecord)
            return;
        gRsOpen(QStringLiteral("SELECT a.TIPOLOGIAID, a.Tipologia, a.DateTimeCreated, a.DateTimeLastUpdated ") +
                QStringLiteral("FROM TipologiaPersone a ") + QStringLiteral("WHERE TIPOLOGIAID = ") + SqlNumber(typeInHand()) +
                QStringLiteral(" "));
        if (!gRs->EOF_())
            txtTipologia->setText((*gRs)["Tipologia"].Value().Text());
        gRs->Close();
        ResetRs();
    });
}

// The caret stands after the name, ready to type on.
void frmEditTipologiaPersone::Form_Activate()
{
    FormProc(*this, "Form_Activate", [&] { CaretAtEnd(*txtTipologia); });
}

std::vector<EditorForm::Check> frmEditTipologiaPersone::Checks()
{
    return {{QStringLiteral("Inserire la tipologia"), [this] { return txtTipologia->Text().trimmed().isEmpty(); }},
            {QStringLiteral("Il record già esiste"), [this] {
                 const QString name = txtTipologia->Text().trimmed();
                 // Renaming a type to its own name is no duplicate; a check that cannot run stops
                 // the save, reported once.
                 if (gNewRecord)
                     return RecordExists(QStringLiteral("tipologiapersone"), QStringLiteral("tipologia"), name, QStringLiteral("S"));
                 return RecordExists(QStringLiteral("tipologiapersone"), QStringLiteral("tipologia"), name, QStringLiteral("S"),
                                     QStringLiteral("tipologiaid"), SqlNumber(typeInHand()));
             }}};
}

QString frmEditTipologiaPersone::InsertStatement()
{
    return InsertSql(QStringLiteral("INSERT INTO TipologiaPersone (Tipologia, DateTimeCreated) ") + QStringLiteral("VALUES ("),
                     {TextValue(txtTipologia->Text()), Timestamp()});
}

QString frmEditTipologiaPersone::UpdateStatement()
{
    return UpdateSql(QStringLiteral("TipologiaPersone"), {{QStringLiteral("Tipologia"), TextValue(txtTipologia->Text())}},
                     QStringLiteral("TIPOLOGIAID"), typeInHand());
}

ListForm* frmEditTipologiaPersone::List() { return LoadedInstance<frmTipologiaPersone>(); }

} // namespace verbanto
