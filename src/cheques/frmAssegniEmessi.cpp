#include "cheques/frmAssegniEmessi.h"
#include "cheques/frmEditAssegniEmessi.h"
#include "cheques/frmSelectAssegniEmessi.h"
#include "shared/basGeneral.h"
#include "shared/basRegistering.h"
#include "shared/ModalWindows.h"
#include "shared/SqlLiteral.h"
#include "shared/WindowControls.h"

namespace verbanto {

namespace {
// The list's columns and tables, shared by the whole list and by its one-row refreshers.
const QString kFrom = QStringLiteral("FROM AssegniEmessi a, MieiContiCorrenti b, Anagrafica c ");
const QString kJoin = QStringLiteral("a.CONTOCORRENTEID = b.CONTOCORRENTEID AND a.ANAGRAFICAID = c.ANAGRAFICAID ");

QString ChequeColumns()
{
    return QStringLiteral(" a.ASSEGNIEMESSIID, a.CONTOCORRENTEID, b.Descrizione as ContoCorrente, a.ANAGRAFICAID, ") +
           concatSql(QStringLiteral("c.cognome"), QStringLiteral("' '"), QStringLiteral("c.Nome")) +
           QStringLiteral(" as Beneficiario,  ") +
           QStringLiteral("a.Numero as NumeroAssegno, a.DataAssegno, a.LuogoEmissione, a.SuPiazza, a.Trasferibile,  ") +
           QStringLiteral("a.Sbarrato, a.Importo, a.Causale, a.AssegnoNote, a.DateTimeCreated as DataCreazione,  ") +
           QStringLiteral("a.DateTimeLastUpdated as DataUltimaModifica ");
}

ListForm::Setup ChequeList()
{
    ListForm::Setup s;
    s.caption = QStringLiteral("Assegni Emessi");
    s.selectText = QStringLiteral("SELECT") + ChequeColumns() + kFrom + QStringLiteral("WHERE ") + kJoin;
    s.orderBy = QStringLiteral(" order by a.ASSEGNIEMESSIID ");
    s.where = &gWhereAssegniEmessi;
    s.idColumn = QStringLiteral("ASSEGNIEMESSIID");
    s.table = QStringLiteral("AssegniEmessi");
    s.renames = {{QStringLiteral("AssegnoNote*"), QStringLiteral("Note")}};
    // Nothing refers to a cheque: it goes alone.
    s.deleteStatements = {QStringLiteral("DELETE From AssegniEmessi WHERE ASSEGNIEMESSIID = ")};
    s.refillAfterDelete = true;     // the total line follows the delete
    s.noPrintColumns = {0, 1, 3, 14, 15};
    s.selectCaption = QStringLiteral("Seleziona");
    s.amountPattern = QStringLiteral("Importo*");
    s.totalPrefix = QStringLiteral("Importo complessivo degli assegni visualizzati: ");
    s.printTotal = true;
    return s;
}
} // namespace

frmAssegniEmessi::frmAssegniEmessi() : ListForm(QStringLiteral("frmAssegniEmessi"), ChequeList()) {}

void frmAssegniEmessi::ShowEditor() { ShowModal<frmEditAssegniEmessi>(); }

void frmAssegniEmessi::ShowFilter() { ShowModal<frmSelectAssegniEmessi>(); }

QString frmAssegniEmessi::RowQuery(double id)
{
    return QStringLiteral("SELECT") + ChequeColumns() + kFrom + QStringLiteral("WHERE ASSEGNIEMESSIID = ") + SqlNumber(id) +
           QStringLiteral(" AND ") + kJoin;
}

QString frmAssegniEmessi::PrintSubtitle() { return QStringLiteral("Gestione Verbanto - Assegni emessi"); }

// A mark stored as nothing shows as nothing, rather than one error report per cell.
ListForm::CellRule frmAssegniEmessi::CellRuleFor(const platform::Field& column)
{
    CellRule rule = ListForm::CellRuleFor(column);
    if (!rule || !isBooleanField(column))
        return rule;
    return [rule](const platform::Variant& v) { return v.IsNull() ? QString() : rule(v); };
}

} // namespace verbanto
