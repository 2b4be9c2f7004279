#include "contacts/frmTipologiaPersone.h"
#include "contacts/frmEditTipologiaPersone.h"
#include "contacts/frmSelectTipologiaPersone.h"
#include "mainwindow/frmMain.h"
#include "shared/basGeneral.h"
#include "shared/ModalWindows.h"
#include "shared/TracedProcedure.h"

namespace verbanto {

using namespace platform;

namespace {
ListForm::Setup TypeList()
{
    ListForm::Setup s;
    s.caption = QStringLiteral("Tipologie Soci");
    s.selectText = QStringLiteral("SELECT a.TIPOLOGIAID, a.Tipologia, a.DateTimeCreated as DataCreazione, a.DateTimeLastUpdated as DataUltimaModifica ") +
                   QStringLiteral("FROM TipologiaPersone a ");
    s.where = &gWhereTipologiaPersone;
    s.idColumn = QStringLiteral("TIPOLOGIAID");
    s.table = QStringLiteral("TipologiaPersone");
    s.rowKey = QStringLiteral("TIPOLOGIAID");
    // A type that contacts carry stays.
    s.refusals = {{QStringLiteral("anagrafica"), QStringLiteral("tipologiaid"),
                   QStringLiteral("Impossibile eliminare il record: ci sono record collegati nell'anagrafica")}};
    s.deleteStatements = {QStringLiteral("DELETE From TipologiaPersone WHERE TIPOLOGIAID = ")};
    s.noPrintColumns = {0, 2, 3};
    return s;
}
} // namespace

frmTipologiaPersone::frmTipologiaPersone() : ListForm(QStringLiteral("frmTipologiaPersone"), TypeList()) {}

void frmTipologiaPersone::CreateOwnControls()
{
    mnuSystem = Add<MenuItem>(QStringLiteral("mnuSystem"), QStringLiteral("System"));
    mnuApri = Add<MenuItem>(QStringLiteral("mnuApri"), QStringLiteral("Apri"), mnuSystem);
    mnuApri->Click = [this] { mnuApri_Click(3); };
    mnuVisProxScad = Add<MenuItem>(QStringLiteral("mnuVisProxScad"), QStringLiteral("Visualizza prossime scadenze"), mnuSystem);
    mnuVisProxScad->Click = [this] { mnuVisProxScad_Click(1); };
    mnutest = Add<MenuItem>(QStringLiteral("mnutest"), QStringLiteral("-"), mnuSystem);
    mnuEsci = Add<MenuItem>(QStringLiteral("mnuEsci"), QStringLiteral("Esci"), mnuSystem);
    mnuEsci->Click = [this] { mnuEsci_Click(2); };
}

void frmTipologiaPersone::ShowEditor() { ShowModal<frmEditTipologiaPersone>(); }

void frmTipologiaPersone::ShowFilter() { ShowModal<frmSelectTipologiaPersone>(); }

QString frmTipologiaPersone::PrintSubtitle() { return QStringLiteral("Gestione Verbanto - Tipologie anagrafica"); }

// ---------------------------------------------------------------------------------------------
// The icon's menu: each item calls back into the main window.

void frmTipologiaPersone::mnuApri_Click(int /*index*/)
{
    ResumeNext([] { Forms::Instance<frmMain>().RestoreWindow(); });
}

void frmTipologiaPersone::mnuVisProxScad_Click(int /*index*/) { Forms::Instance<frmMain>().SysTray_BalloonClick(); }

void frmTipologiaPersone::mnuEsci_Click(int /*index*/)
{
    gExiting = true;
    Forms::Instance<frmMain>().cmdEsci_Click();
}

} // namespace verbanto
