#include "cheques/frmMieiContiCorrenti.h"
#include "cheques/frmEditMieiContiCorrenti.h"
#include "cheques/frmSelectMieiContiCorrenti.h"
#include "shared/basGeneral.h"
#include "shared/ModalWindows.h"

namespace verbanto {

namespace {
ListForm::Setup AccountList()
{
    ListForm::Setup s;
    s.caption = QStringLiteral("Pagamenti");
    s.selectText = QStringLiteral("SELECT a.CONTOCORRENTEID, a.Descrizione, a.Banca, a.ABI, a.CAB, a.NumeroConto,  ") +
                   QStringLiteral("a.Intestatari, a.DateTimeCreated as DataCreazione, a.DateTimeLastUpdated as DataUltimaModifica ") +
                   QStringLiteral("FROM MieiContiCorrenti a ");
    s.where = &gWhereMieiContiCorrenti;
    s.idColumn = QStringLiteral("CONTOCORRENTEID");
    s.table = QStringLiteral("MieiContiCorrenti");
    s.rowKey = QStringLiteral("CONTOCORRENTEID");
    // An account stays while a cheque was drawn on it or a cheque was deposited into it.
    const QString inUse = QStringLiteral("Impossibile eliminare il record. Esistono assegni collegati.");
    s.refusals = {{QStringLiteral("AssegniEmessi"), QStringLiteral("contocorrenteid"), inUse},
                  {QStringLiteral("versamenti"), QStringLiteral("contocorrenteid"), inUse}};
    s.deleteStatements = {QStringLiteral("DELETE From MieiContiCorrenti WHERE CONTOCORRENTEID = ")};
    s.noPrintColumns = {0, 7, 8};
    s.selectCaption = QStringLiteral("Seleziona");
    return s;
}
} // namespace

frmMieiContiCorrenti::frmMieiContiCorrenti() : ListForm(QStringLiteral("frmMieiContiCorrenti"), AccountList()) {}

void frmMieiContiCorrenti::ShowEditor() { ShowModal<frmEditMieiContiCorrenti>(); }

void frmMieiContiCorrenti::ShowFilter() { ShowModal<frmSelectMieiContiCorrenti>(); }

QString frmMieiContiCorrenti::PrintSubtitle() { return QStringLiteral("Gestione Verbanto - Conti correnti"); }

bool frmMieiContiCorrenti::TrapFillErrors() const { return gTrapErrors; }

} // namespace verbanto
