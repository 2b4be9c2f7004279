#include "contacts/frmAnagrafica.h"
#include "contacts/frmEditAnagrafica.h"
#include "contacts/frmSelectAnagrafica.h"
#include "deadlines/frmPagamenti.h"
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
const QString kTitle = QStringLiteral("Gestione Verbanto");

// The columns after the first two, shared by the list query and the row refreshers.
const QString kColumns = QStringLiteral("a.Indirizzo, a.CAP, a.Comune, a.Provincia, a.TelefonoCasa, a.TelefonoUfficio,  ") +
                         QStringLiteral("a.Fax, a.Cellulare, a.CFIva, a.Email, a.SitoWeb, a.NoteAnagrafica, a.DateTimeCreated as DataCreazione,  ") +
                         QStringLiteral("a.DateTimeLastUpdated as DataUltimaModifica ");

ListForm::Setup ContactList()
{
    ListForm::Setup s;
    s.caption = QStringLiteral("Contatti");
    // Contacts of type 1 are never listed.
    s.selectText = QStringLiteral("SELECT  a.ANAGRAFICAID, a.cogNome as CognomeRagioneSociale, a.Nome ,  ") + kColumns +
                   QStringLiteral("FROM Anagrafica a where tipologiaid<>1 ");
    s.orderBy = QStringLiteral(" ");
    s.where = &gWhereAnagrafica;
    s.idColumn = QStringLiteral("ANAGRAFICAID");
    s.table = QStringLiteral("Anagrafica");
    s.rowKey = QStringLiteral("ANAGRAFICAID");
    s.renames = {{QStringLiteral("Cognome*"), QStringLiteral("Cognome / Ragione Sociale")},
                 {QStringLiteral("CFIva*"), QStringLiteral("Codice Fiscale / Partita IVA")},
                 {QStringLiteral("NoteAnagrafica*"), QStringLiteral("Note")},
                 {QStringLiteral("Email*"), QStringLiteral("E-mail")}};
    // A contact that deadlines refer to stays; the others go without touching any other table.
    s.refusals = {{QStringLiteral("Pagamenti"), QStringLiteral("anagraficaID"),
                   QStringLiteral("Impossibile eliminare il record. Esistono pagamenti collegati.")}};
    s.deleteStatements = {QStringLiteral("DELETE From Anagrafica WHERE ANAGRAFICAID = ")};
    s.noPrintColumns = {0};
    s.hasExport = true;
    return s;
}
} // namespace

frmAnagrafica::frmAnagrafica() : ListForm(QStringLiteral("frmAnagrafica"), ContactList())
{
    setTitleButtons(false, true);
}

void frmAnagrafica::CreateOwnControls()
{
    // The column widths are measured in this font.
    MSFlexGrid1->setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    cmdApriPagamenti = AddCommand(QStringLiteral("cmdApriPagamenti"), QStringLiteral("&Gestisci Scadenze"),
                                  [this] { cmdApriPagamenti_Click(); });
}

void frmAnagrafica::ShowEditor() { ShowModal<frmEditAnagrafica>(); }

void frmAnagrafica::ShowFilter() { ShowModal<frmSelectAnagrafica>(); }

QString frmAnagrafica::PrintSubtitle() { return getSetting(QStringLiteral("INTESTAZ")) + QStringLiteral(" - Contatti"); }

QString frmAnagrafica::RowQuery(double id)
{
    return rowQueryHead_ + kColumns + rowQueryFrom_ + QStringLiteral("WHERE  tipologiaid<>1 and ANAGRAFICAID = ") +
           SqlNumber(id) + QStringLiteral(" AND 1=1 ");
}

void frmAnagrafica::UpdateGridRow()
{
    rowQueryHead_ = QStringLiteral("SELECT  a.ANAGRAFICAID,   a.cogNome as CognomeRagioneSociale, a.Nome,  ");
    rowQueryFrom_ = QStringLiteral("FROM Anagrafica a  ");
    ListForm::UpdateGridRow();
}

void frmAnagrafica::AddGridRow()
{
    rowQueryHead_ = QStringLiteral("SELECT  a.ANAGRAFICAID,  a.cogNome as CognomeRagioneSociale, a.Nome,  ");
    rowQueryFrom_ = QStringLiteral("FROM Anagrafica a ");
    ListForm::AddGridRow();
}

void frmAnagrafica::cmdApriPagamenti_Click()
{
    FormProc(*this, "cmdApriPagamenti_Click", [&] {
        FlexGrid& g = *MSFlexGrid1;
        if (g.Row() == 0 || g.Rows() == 1) {
            MyMsgBox(QStringLiteral("Selezionare il contatto di cui si vogliono visualizzare le scadenze correlate."),
                     vbExclamation, kTitle);
            return;
        }
        mANAGRAFICAID = CurrentRowId();
        const QString id = SqlNumber(mANAGRAFICAID);
        OpenDb();
        // A check that cannot run ends here, reported once: it does not mean there are none.
        if (!RecordExists(QStringLiteral("pagamenti"), QStringLiteral("anagraficaID"), id, QStringLiteral("N"))) {
            MyMsgBox(QStringLiteral("Non risultano scadenze correlate a questo contatto."), vbExclamation, kTitle);
            return;
        }
        // Contact mode of the deadline list; the values stay until the main window clears them.
        gIdDelContatto = mANAGRAFICAID;
        gNomeDelContatto = g.TextMatrix(g.Row(), 1) + QStringLiteral(" ") + g.TextMatrix(g.Row(), 2);
        gWherePagamenti = QStringLiteral(" a.anagraficaid=") + id;
        ShowModal<frmPagamenti>();
    });
}

} // namespace verbanto
