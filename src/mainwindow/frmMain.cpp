#include "mainwindow/frmMain.h"
#include "contacts/frmAnagrafica.h"
#include "contacts/frmTipologiaPersone.h"
#include "deadlines/frmPagamenti.h"
#include "mainwindow/frmAbout.h"
#include "mainwindow/frmEditSettings.h"
#include "mainwindow/frmReportistica.h"
#include "mainwindow/OccurrenceEngine.h"
#include "platform/App.h"
#include "platform/FormLayout.h"
#include "platform/WaitingWindows.h"
#include "platform/MsgBoxDialog.h"
#include "platform/UserAction.h"
#include "platform/Variant.h"
#include "shared/basGeneral.h"
#include "shared/basGeneralCustom.h"
#include "shared/basPrintPreview.h"
#include "shared/basRegistering.h"
#include "shared/TracedProcedure.h"
#include <QDir>

namespace verbanto {

using platform::Forms::Instance;

namespace {

const QString kAppTitle = QStringLiteral("Gestione Verbanto");

bool databaseOpen() { return gSqlLiteDb && gSqlLiteDb->IsOpen(); }

// While a window opened from the main window or the icon is up, the icon's menu can neither
// open the upcoming deadlines again nor start the exit; while the settings are open, nothing.
// The items come back when the last such window closes (the balloon may open the grid over a
// list), also when opening it failed.
enum class MenuScope { TwoItems, WholeMenu };

int& locksHeld(MenuScope scope)
{
    static int counts[2] = {0, 0};
    return counts[static_cast<int>(scope)];
}

void enableMenu(frmTipologiaPersone& host, MenuScope scope, bool enabled)
{
    if (scope == MenuScope::WholeMenu) {
        if (host.mnuSystem)
            host.mnuSystem->setEnabled(enabled);
        return;
    }
    if (host.mnuVisProxScad)
        host.mnuVisProxScad->setEnabled(enabled);
    if (host.mnuEsci)
        host.mnuEsci->setEnabled(enabled);
}

// The hidden host of the icon's popup menu, loaded the first time it is needed. The host is also
// the contact-type list, unloaded when that closes: loaded anew, it keeps off what is held off.
frmTipologiaPersone& menuHost()
{
    frmTipologiaPersone& host = Instance<frmTipologiaPersone>();
    if (!host.Loaded()) {
        host.Load();
        for (MenuScope scope : {MenuScope::TwoItems, MenuScope::WholeMenu})
            if (locksHeld(scope) > 0)
                enableMenu(host, scope, false);
    }
    return host;
}

class MenuLock {
public:
    explicit MenuLock(MenuScope scope) : scope_(scope)
    {
        ++locksHeld(scope_);
        enableMenu(menuHost(), scope_, false);
    }
    ~MenuLock()
    {
        if (--locksHeld(scope_) == 0 && platform::Forms::Exists<frmTipologiaPersone>() &&
            Instance<frmTipologiaPersone>().Loaded())
            enableMenu(Instance<frmTipologiaPersone>(), scope_, true);
    }
    MenuLock(const MenuLock&) = delete;
    MenuLock& operator=(const MenuLock&) = delete;

private:
    MenuScope scope_;
};

// The grid's query, from the settings; false when it could not be read (said once already):
// without it the grid has nothing to show.
bool readUpcomingQuery()
{
    return WithoutErrors([] { gSqlEventi = getSetting(QStringLiteral("SQLEVENTI")); });
}

template <class F> void OpenLocked(MenuScope scope)
{
    MenuLock lock(scope);
    Instance<F>().Show(platform::vbModal);
}

} // namespace

frmMain::frmMain() : Form(QStringLiteral("frmMain"))
{
    // It can be minimised into the icon, not maximised; its layout gives it a fixed border.
    setTitleButtons(true, false);
}

frmMain::~frmMain() = default;

QString frmMain::ProgramIcon() { return platform::App::IconPath(); }

void frmMain::CreateControls()
{
    using namespace platform;
    OsenXPLabel1 = Add<Label>(QStringLiteral("OsenXPLabel1"), QString::fromLatin1(Title));
    QFont bold = OsenXPLabel1->Font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    OsenXPLabel1->setFont(bold);

    cmdVisualizaScadenze = Add<Button>(QStringLiteral("cmdVisualizaScadenze"), QStringLiteral("Visualizza Prossime &Scadenze"));
    cmdAnagrafica = Add<Button>(QStringLiteral("cmdAnagrafica"), QStringLiteral("&Contatti"));
    cmdEsci = Add<Button>(QStringLiteral("cmdEsci"), QStringLiteral("&Esci"));
    cmdContiCorrenti = Add<Button>(QStringLiteral("cmdContiCorrenti"), QStringLiteral("&Gestione Scadenze"));
    cmdInfo = Add<Button>(QStringLiteral("cmdInfo"), QStringLiteral("&Informazioni"));
    cmdBackup = Add<Button>(QStringLiteral("cmdBackup"), QStringLiteral("Database &Backup"));
    cmdCambiaIntestazione = Add<Button>(QStringLiteral("cmdCambiaIntestazione"), QStringLiteral("&Modifica impostazioni"));
    OsenXPForm1 = Add<SkinForm>(QStringLiteral("OsenXPForm1"));
    OsenXPForm1->setCaption(QString::fromLatin1(Title));

    // One column of commands, the upcoming deadlines first and the exit last.
    layout::Lines lines{layout::Wide({OsenXPLabel1})};
    for (Button* b : {cmdVisualizaScadenze, cmdAnagrafica, cmdContiCorrenti, cmdCambiaIntestazione, cmdBackup, cmdInfo, cmdEsci})
        lines.push_back(layout::Wide({layout::Filled(b, 4500, 495)}));
    layout::LayOut(*this, {std::move(lines), {}});

    cmdVisualizaScadenze->Click = [this] { cmdVisualizaScadenze_Click(); };
    cmdAnagrafica->Click = [this] { cmdAnagrafica_Click(); };
    cmdEsci->Click = [this] { cmdEsci_Click(); };
    cmdContiCorrenti->Click = [this] { cmdContiCorrenti_Click(); };
    cmdInfo->Click = [this] { cmdInfo_Click(); };
    cmdBackup->Click = [this] { cmdBackup_Click(); };
    cmdCambiaIntestazione->Click = [this] { cmdCambiaIntestazione_Click(); };
}

void frmMain::Start()
{
    // The start is the first action: a database another program holds is told once.
    platform::UserAction start;
    Load();
    if (Loaded() && !startMinimized_)
        Show();
}

void frmMain::Form_Load()
{
    FormProc(*this, "Form_Load", [&] {
        OsenXPForm1->setIcon(ProgramIcon());
        gDbType = QStringLiteral("SqlLite");
        OpenDb();
        if (!databaseOpen()) {
            // The opener has told the user; there is nothing to run without the database.
            if (Loaded())
                Unload();
            return;
        }
        OpenMemoryDb();
        gDbExecute(QStringLiteral("create table memodb.eventi (idscadenza integer, dataevento date)"));
        AggiornaDatabase();
        if (!databaseOpen())
            return;   // the file could not be prepared: said once, and the window is gone
        AggiornaReportistica();
        CenterForm(*this);
        setCaption(QString::fromLatin1(Title));
        DisattivaTabstop(Controls());

        SysTray = std::make_unique<platform::SysTrayIcon>();
        SysTray->RightButtonClick = [this] { SysTray_RightButtonClick(); };
        SysTray->LeftButtonDblClick = [this] { SysTray_LeftButtonDblClick(); };
        SysTray->BalloonClick = [this] { SysTray_BalloonClick(); };
        SysTray->AreaGone = [this] { SysTray_AreaGone(); };
        SysTray->AddIcon(QString::fromLatin1(Title), hWnd(), ProgramIcon());

        RefreshUpcomingCount();

        // Only the icon, unless the desktop has no notification area (then the window is the
        // only way in and stays), or the user opened the window from the icon while the start
        // was still telling something.
        startMinimized_ = platform::App::CommandLine().toLower() == QLatin1String("-minimized") &&
                          platform::SysTrayIcon::Available() && !Visible();
        if (startMinimized_)
            Hide();
    });
}

void frmMain::Form_Activate()
{
    FormProc(*this, "Form_Activate", [&] {
        gTrapErrors = true;
        gPrtcSize = platform::Variant(getSetting(QStringLiteral("PRTCSIZE"))).CInt();
        gLogStatus = getSetting(QStringLiteral("LOGSTATUS"));
    });
}

void frmMain::Form_Resize()
{
    // Minimised, the system lives in its icon; while the icon is in no notification area the
    // window stays in the task bar, the only way back.
    if (WindowState() == platform::vbMinimized && SysTray && SysTray->Docked())
        Hide();
}

void frmMain::Form_Unload(int& cancel)
{
    // Without a database there is nothing to lose: the window goes without asking.
    if (!databaseOpen())
        return;
    // The icon's "Esci" may be chosen again while the question waits: the one question answers it.
    if (askingExit_) {
        cancel = 1;
        return;
    }
    askingExit_ = true;
    const int answer = MyMsgBox(QStringLiteral("Sei sicuro di voler chiudere Gestione Verbanto?"), platform::vbYesNo, kAppTitle);
    askingExit_ = false;
    if (answer == platform::vbYes) {
        platform::App::DoEvents();
        SysTray.reset();
        platform::Forms::EndDialogs();
        return;
    }
    cancel = 1;
    gExiting = false;
}

void frmMain::hideBalloon()
{
    if (SysTray)
        SysTray->HideBalloon();
}

void frmMain::RestoreWindow()
{
    setWindowState(platform::vbNormal);
    Show(platform::vbModeless);
    // The windows it waits on come back too, also from minimised: the innermost is the one to use.
    platform::BringWaitingToFront();
}

void frmMain::annullaWhere()
{
    FormProc(*this, "annullaWhere", [&] {
        gWhereAnagrafica.clear();
        gWhereAssegniEmessi.clear();
        gWherePagamenti.clear();
        gWhereMieiContiCorrenti.clear();
        gWhereTipologiaPersone.clear();
    });
}

void frmMain::cmdAnagrafica_Click()
{
    FormProc(*this, "cmdAnagrafica_Click", [&] {
        hideBalloon();
        annullaWhere();
        OpenLocked<frmAnagrafica>(MenuScope::TwoItems);
    });
}

void frmMain::cmdContiCorrenti_Click()
{
    FormProc(*this, "cmdContiCorrenti_Click", [&] {
        hideBalloon();
        annullaWhere();
        gNomeDelContatto.clear();
        OpenLocked<frmPagamenti>(MenuScope::TwoItems);
    });
}

void frmMain::cmdVisualizaScadenze_Click()
{
    FormProc(*this, "cmdVisualizaScadenze_Click", [&] {
        if (!readUpcomingQuery())
            return;
        OpenLocked<frmReportistica>(MenuScope::TwoItems);
    });
}

void frmMain::cmdCambiaIntestazione_Click()
{
    // This one command reports its failure in the platform's plain message box.
    const QString procedure = QStringLiteral("cmdCambiaIntestazione_Click");
    traceProcedure(Name, procedure);
    try {
        hideBalloon();
        OpenLocked<frmEditSettings>(MenuScope::WholeMenu);
    } catch (...) {
        long number;
        QString description;
        CurrentError(&number, &description);
        if (platform::UserAction::MayReport())
            platform::PlainMsgBox(StandardErrorText(number, description, procedure, Name, true));
    }
}

void frmMain::cmdInfo_Click()
{
    FormProc(*this, "cmdInfo_Click", [&] {
        hideBalloon();
        OpenLocked<frmAbout>(MenuScope::TwoItems);
    });
}

void frmMain::cmdBackup_Click()
{
    FormProc(*this, "cmdBackup_Click", [&] {
        hideBalloon();
        QString folder = platform::MsgBoxDialog()
                             .InputBox(QStringLiteral("Inserire il percorso dove copiare il database"), kAppTitle)
                             .trimmed();
        if (folder.isEmpty())
            return;
        if (folder == QLatin1String("~") || folder.startsWith(QLatin1String("~/")))
            folder = QDir::homePath() + folder.mid(1);
        if (!folder.endsWith(QLatin1Char('/')))
            folder += QLatin1Char('/');
        // Never over an existing copy.
        if (APIFileCopy(gDbPath, folder + gDbFileName, true))
            MyMsgBox(QStringLiteral("Copia del database avvenuta con successo"), platform::vbInformation, kAppTitle);
        else
            MyMsgBox(QStringLiteral("Errore durante la copia del database"), platform::vbExclamation, kAppTitle);
    });
}

void frmMain::cmdEsci_Click()
{
    FormProc(*this, "cmdEsci_Click", [&] {
        gExiting = true;
        hideBalloon();
        platform::App::DoEvents();
        for (platform::Form* f : platform::LoadedForms())
            if (f != this && f->Loaded())
                f->Unload();
        platform::App::DoEvents();
        Unload();
    });
}

void frmMain::ShowSysTrayBaloon(const QString& cosa, const QString& /*titolo*/)
{
    if (!SysTray)
        return;
    const QString crlf = QStringLiteral("\r\n");
    SysTray->ShowBalloon(QStringLiteral("Le tue scadenze:") + crlf + crlf + cosa + crlf + crlf +
                             QStringLiteral("Clicca su questo fumetto per visualizzare i dettagli"),
                         QString::fromLatin1(Title), 1);
}

namespace {

// The deadlines a run left out are told once per start, not again at every save.
bool gLeftOutTold = false;

QString leftOutMessage(const std::vector<LeftOutDeadline>& leftOut)
{
    constexpr size_t shown = 10;
    const QString crlf = QStringLiteral("\r\n");
    const bool one = leftOut.size() == 1;
    QString text = one ? QStringLiteral("Questa scadenza non è stata conteggiata perché la sua data o la sua ricorrenza non è leggibile:")
                       : QStringLiteral("Queste scadenze non sono state conteggiate perché la loro data o la loro ricorrenza non è leggibile:");
    text += crlf;
    for (size_t i = 0; i < leftOut.size() && i < shown; ++i) {
        const LeftOutDeadline& d = leftOut[i];
        text += crlf + QStringLiteral("- ") + (d.description.isEmpty() ? QStringLiteral("(senza descrizione)") : d.description);
        if (!d.contact.isEmpty())
            text += QStringLiteral(" - ") + d.contact;
    }
    if (leftOut.size() > shown)
        text += crlf + QStringLiteral("- e altre ") + QString::number(leftOut.size() - shown);
    text += crlf + crlf + (one ? QStringLiteral("Per correggerla aprire Gestione Scadenze.") : QStringLiteral("Per correggerle aprire Gestione Scadenze."));
    return text;
}

} // namespace

void frmMain::RefreshUpcomingCount()
{
    const long long count = RefreshUpcomingDeadlines();
    if (!gLeftOutTold && !LeftOutDeadlines().empty()) {
        gLeftOutTold = true;
        MyMsgBox(leftOutMessage(LeftOutDeadlines()), platform::vbExclamation, kAppTitle);
    }
    const QString n = QString::number(count);
    if (!platform::Forms::Exists<frmMain>())
        return;
    frmMain& main = Instance<frmMain>();
    if (!main.Loaded() || !main.cmdVisualizaScadenze)
        return;
    main.cmdVisualizaScadenze->setCaption(QStringLiteral("Visualizza Prossime Scadenze (") + n + QStringLiteral(")"));
    if (count > 0)
        main.ShowSysTrayBaloon(QStringLiteral("Hai ") + n + QStringLiteral(" prossime scadenze"), QStringLiteral("Scadenze"));
}

void frmMain::SysTray_RightButtonClick()
{
    hideBalloon();
    frmTipologiaPersone& host = menuHost();
    // The host's first load may have asked for a contact type first: if the user has gone on
    // meanwhile (another gesture on the icon, the exit), this menu's moment has passed.
    if (!SysTray || SysTray->GestureSuperseded())
        return;
    // While the settings are open the menu is off: nothing to choose, so nothing pops up.
    if (host.mnuSystem && host.mnuSystem->Enabled())
        PopupMenu(*host.mnuSystem);
}

void frmMain::SysTray_LeftButtonDblClick()
{
    hideBalloon();
    platform::App::DoEvents();
    if (gExiting)
        return;
    ResumeNext([&] { RestoreWindow(); });
}

void frmMain::SysTray_AreaGone()
{
    // The icon is nowhere to be clicked: a window hidden in it comes back, with what waits over it.
    if (Loaded() && !Visible())
        ResumeNext([&] { RestoreWindow(); });
}

void frmMain::SysTray_BalloonClick()
{
    platform::App::DoEvents();
    if (gExiting)
        return;
    ResumeNext([&] {
        // A question or another box waiting for its answer comes forward instead: the grid would
        // cover it.
        if (platform::DialogWaiting()) {
            RestoreWindow();
            return;
        }
        if (!readUpcomingQuery())
            return;
        RestoreWindow();
        platform::App::DoEvents();
        OpenLocked<frmReportistica>(MenuScope::TwoItems);
    });
}

} // namespace verbanto
