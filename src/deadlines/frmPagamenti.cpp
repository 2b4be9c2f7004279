#include "deadlines/frmPagamenti.h"
#include "deadlines/frmEditPagamenti.h"
#include "deadlines/frmSelectPagamenti.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/OccurrenceEngine.h"
#include "platform/MsgBoxDialog.h"
#include "platform/UserAction.h"
#include "shared/basGeneral.h"
#include "shared/basGeneralCustom.h"
#include "shared/basRegistering.h"
#include "shared/ModalWindows.h"
#include "shared/TracedProcedure.h"
#include "shared/WindowControls.h"

namespace verbanto {

using namespace platform;

namespace {
ListForm::Setup DeadlineList()
{
    ListForm::Setup s;
    s.caption = QStringLiteral("Gestione Scadenze");
    s.selectText = QStringLiteral("SELECT ") + QStringLiteral(" a.pagamentiID, ") +
                   concatSql(QStringLiteral("b.cognome"), QStringLiteral("' '"), QStringLiteral("b.nome")) +
                   QStringLiteral(" as Contatto, a.ANAGRAFICAID,  ") +
                   QStringLiteral("a.DataPagamento as DataScadenza, a.Causale as DescrizioneScadenza, a.Importo as Frequenza,  ") +
                   QStringLiteral("a.NotePagamento as NoteScadenza, a.DateTimeCreated as DataCreazione, a.DateTimeLastUpdated as DataUltimaModifica ") +
                   QStringLiteral("FROM pagamenti a, Anagrafica b ") +
                   QStringLiteral("WHERE a.ANAGRAFICAID = b.ANAGRAFICAID  ");
    s.orderBy = QStringLiteral(" order by a.PagamentiID  ");
    s.where = &gWherePagamenti;
    s.idColumn = QStringLiteral("PagamentiID");
    s.table = QStringLiteral("Pagamenti");
    s.rowKey = QStringLiteral("a.PagamentiID");
    // A deadline takes its endorsements and deposits with it.
    s.deleteStatements = {QStringLiteral("DELETE From girate WHERE PagamentiID = "),
                          QStringLiteral("DELETE From versamenti WHERE PagamentiID = "),
                          QStringLiteral("DELETE From Pagamenti WHERE PagamentiID = ")};
    s.refillAfterDelete = true;
    s.noPrintColumns = {0, 2};
    s.hasExport = true;
    return s;
}
} // namespace

frmPagamenti::frmPagamenti() : ListForm(QStringLiteral("frmPagamenti"), DeadlineList()) {}

void frmPagamenti::OwnLoad()
{
    const bool contactMode = !gNomeDelContatto.isEmpty();
    const QString caption = contactMode ? QStringLiteral("Scadenze relative al contatto ") + gNomeDelContatto
                                        : QStringLiteral("Gestione Scadenze");
    setCaption(caption);
    OsenXPForm1->setCaption(caption);
    // In contact mode the where-clause holds the contact restriction: no filter over it.
    cmdSelect->setEnabled(!contactMode);
}

void frmPagamenti::ShowEditor() { ShowModal<frmEditPagamenti>(); }

void frmPagamenti::ShowFilter() { ShowModal<frmSelectPagamenti>(); }

QString frmPagamenti::PrintSubtitle()
{
    QString subtitle = getSetting(QStringLiteral("INTESTAZ")) + QStringLiteral(" - Scadenze");
    if (!gNomeDelContatto.isEmpty())
        subtitle += QStringLiteral(" relative a ") + gNomeDelContatto;
    return subtitle;
}

// The recurrence in words instead of its code.
ListForm::CellRule frmPagamenti::CellRuleFor(const Field& column)
{
    if (MatchesPattern(column.Name(), QStringLiteral("Frequenza*")))
        return [](const Variant& code) { return RecurrenceName(code); };
    return ListForm::CellRuleFor(column);
}

// The upcoming deadlines must not keep a deadline that no longer exists.
void frmPagamenti::AfterDelete() { frmMain::RefreshUpcomingCount(); }

void frmPagamenti::AddGridRow()
{
    traceProcedure(Name, QStringLiteral("AddGridRow"));
    try {
        AppendNewestRow();
    } catch (...) {
        long number;
        QString description;
        CurrentError(&number, &description);
        // Only while errors are trapped does it report in its own words.
        if (platform::UserAction::MayReport())
            MyMsgBox(gTrapErrors ? QStringLiteral("Error No: ") + QString::number(number) + QStringLiteral(" ") + description +
                                       QStringLiteral(" in ") + gCurrentProc
                                 : StandardErrorText(number, description, QStringLiteral("AddGridRow"), Name, true),
                     vbExclamation, QStringLiteral("Gestione Verbanto"));
    }
    Screen::setMousePointer(0);
}

} // namespace verbanto
