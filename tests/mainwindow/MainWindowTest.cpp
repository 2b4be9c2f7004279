// The main window as the user meets it: start, commands, icon, exit.
#include "MainWindowFixture.h"
#include "harness/DatabaseFaults.h"
#include "contacts/frmAnagrafica.h"
#include "deadlines/frmPagamenti.h"
#include "mainwindow/frmAbout.h"
#include "mainwindow/frmReportistica.h"
#include "platform/FlexGrid.h"
#include "platform/WaitingWindows.h"
#include "shared/basAggiornamentiDatabase.h"
#include "shared/basGeneral.h"
#include "shared/basGeneralCustom.h"
#include "shared/basPrintPreview.h"
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QTimer>

using namespace verbanto;
using platform::Script::Of;

namespace {

TEST_F(MainWindowTest, StartWithoutOccurrences)
{
    Start();
    ASSERT_TRUE(Main().Loaded());
    EXPECT_TRUE(Main().Visible());
    EXPECT_EQ(Main().Caption(), QStringLiteral("Gestione Verbanto 1.0"));
    EXPECT_EQ(CountCaption(), QStringLiteral("Visualizza Prossime Scadenze (0)"));
    EXPECT_TRUE(Of(QStringLiteral("balloon")).empty());
    EXPECT_TRUE(Messages().empty());
    ASSERT_TRUE(Main().SysTray);
    EXPECT_TRUE(Main().SysTray->IconShown());
    EXPECT_EQ(Main().SysTray->ToolTip(), QStringLiteral("Gestione Verbanto 1.0"));
    // The activation of the shown window reads the print size and the log switch.
    EXPECT_TRUE(gTrapErrors);
    EXPECT_EQ(gPrtcSize, 7);
    EXPECT_EQ(gLogStatus, QStringLiteral("OFF"));
    // The start neither loads the menu's host nor asks anything.
    EXPECT_FALSE(Host().Loaded());
}

TEST_F(MainWindowTest, StartWithOccurrencesCountsThemAndShowsTheBalloon)
{
    Deadline(Today().addDays(-40), 1);
    Deadline(Today().addDays(3), 0);
    Start();
    EXPECT_EQ(CountCaption(), QStringLiteral("Visualizza Prossime Scadenze (32)"));
    const auto balloons = Of(QStringLiteral("balloon"));
    ASSERT_EQ(balloons.size(), 1u);
    EXPECT_EQ(balloons[0].prompt, BalloonText(32));
    EXPECT_EQ(balloons[0].title, QStringLiteral("Gestione Verbanto 1.0"));
    EXPECT_EQ(balloons[0].style, 1);
    EXPECT_TRUE(Main().SysTray->BalloonShown());
}

TEST_F(MainWindowTest, CountsBeyondSixteenBits)
{
    // 1291 daily deadlines over 31 days: 40,021 occurrences.
    Sql(QStringLiteral("with recursive n(i) as (select 1 union all select i+1 from n where i<1291) "
                       "insert into pagamenti (anagraficaid, datapagamento, importo, causale) "
                       "select 5, '2024-01-01 00:00:00', 1, 'giornaliera ' || i from n"));
    Start();
    EXPECT_TRUE(Messages().empty()) << LastMessage().toStdString();
    EXPECT_EQ(CountCaption(), QStringLiteral("Visualizza Prossime Scadenze (40021)"));
    ASSERT_EQ(Of(QStringLiteral("balloon")).size(), 1u);
    EXPECT_EQ(Of(QStringLiteral("balloon"))[0].prompt, BalloonText(40021));
}

// The command line and whether the window shows at the start.
class CommandLineTest : public MainWindowTest, public ::testing::WithParamInterface<std::pair<const char*, bool>> {};

TEST_P(CommandLineTest, OnlyTheWholeMinimizedWordInAnyCaseHidesTheWindow)
{
    Deadline(Today(), 0);
    const auto [commandLine, hidden] = GetParam();
    Start(QString::fromLatin1(commandLine));
    ASSERT_TRUE(Main().Loaded());
    EXPECT_EQ(Main().Visible(), !hidden);
    EXPECT_EQ(Main().StartedMinimized(), hidden);
    EXPECT_TRUE(Main().SysTray->IconShown());
    EXPECT_EQ(Of(QStringLiteral("balloon")).size(), 1u);
    // A hidden window has not been activated: the log switch is still unread.
    EXPECT_EQ(gLogStatus.isEmpty(), hidden);
}

INSTANTIATE_TEST_SUITE_P(MainWindow, CommandLineTest,
                         ::testing::Values(std::make_pair("-minimized", true), std::make_pair("-MINIMIZED", true),
                                           std::make_pair("-MiniMized", true), std::make_pair("", false),
                                           std::make_pair("-minimized extra", false), std::make_pair("minimized", false),
                                           std::make_pair(" -minimized", false)));

TEST_F(MainWindowTest, MinimizedWithoutNotificationAreaStillShowsTheWindow)
{
    platform::SysTrayIcon::setAvailable(false);
    Start(QStringLiteral("-minimized"));
    EXPECT_TRUE(Main().Visible());
    EXPECT_FALSE(Main().StartedMinimized());
    // Minimising leaves it in the task bar rather than hiding it.
    Main().setWindowState(platform::vbMinimized);
    EXPECT_TRUE(Main().Visible());
}

TEST_F(MainWindowTest, MissingDatabaseEndsTheStartWithoutAQuestion)
{
    ASSERT_TRUE(QFile::remove(DbFile()));
    Start();
    EXPECT_FALSE(Main().Loaded());
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].prompt, QStringLiteral("Impossibile connettersi al database"));
    EXPECT_EQ(Messages()[0].style, 16);
}

TEST_F(MainWindowTest, AnEmptyFileIsRefusedWithOneMessageAndLeftEmpty)
{
    QFile f(DbFile());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.close();
    Start();
    EXPECT_FALSE(Main().Loaded());
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_TRUE(Messages()[0].prompt.startsWith(QStringLiteral("Impossibile connettersi al database\r\n\r\nIl file orvendale.db3 è vuoto")));
    EXPECT_EQ(Messages()[0].style, 16);
    EXPECT_EQ(QFileInfo(DbFile()).size(), 0);
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files), QStringList{QStringLiteral("orvendale.db3")});
}

TEST_F(MainWindowTest, ADatabaseWithoutDeadlinesTableIsRefusedAndLeftByteForByte)
{
    Sql(QStringLiteral("drop table Pagamenti"));
    const QByteArray before = FileBytes(DbFile());
    Start();
    EXPECT_FALSE(Main().Loaded());
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].prompt, QStringLiteral("Impossibile connettersi al database\r\n\r\nIl file orvendale.db3 non è un "
                                                   "database di Gestione Verbanto: manca la tabella Pagamenti."));
    EXPECT_EQ(FileBytes(DbFile()), before);
}

TEST_F(MainWindowTest, AReadOnlyDatabaseStartsWithOneMessage)
{
    // The settings as an earlier start left them.
    inizializzaAggiornamentiDatabase();
    for (int i = 1; i <= gNumAggiornamenti; ++i)
        Sql(AggiornamentoDatabase(i));
    gNumAggiornamenti = 0;
    const QByteArray before = FileBytes(DbFile());

    platform::SqlLiteConnection::OpenFilesReadOnly(true);
    Start();
    ASSERT_TRUE(Main().Loaded());
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_TRUE(Messages()[0].prompt.startsWith(QStringLiteral("Il database orvendale.db3 è in sola lettura")));
    EXPECT_EQ(Messages()[0].style, 48);
    EXPECT_EQ(CountCaption(), QStringLiteral("Visualizza Prossime Scadenze (0)"));
    EXPECT_EQ(FileBytes(DbFile()), before);
}

TEST_F(MainWindowTest, AFirstStartOnAFullDiskSaysSoOnceAndLeavesTheFileAsItWas)
{
    Sql(QStringLiteral("insert into TipologiaPersone (Tipologia) values ('Cliente')"));
    const QByteArray before = FileBytes(DbFile());
    {
        FullDisk full;
        Start();
    }
    EXPECT_FALSE(Main().Loaded());
    ASSERT_EQ(Messages().size(), 1u) << LastMessage().toStdString();
    EXPECT_EQ(Messages()[0].prompt, QStringLiteral("Impossibile connettersi al database\r\n\r\nIl disco è pieno: il file orvendale.db3 "
                                                   "non può essere preparato per il primo uso. Liberare spazio sul disco e riavviare "
                                                   "il programma."));
    EXPECT_EQ(Messages()[0].style, platform::vbCritical);
    EXPECT_TRUE(Of(QStringLiteral("balloon")).empty());
    EXPECT_EQ(FileBytes(DbFile()), before);
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files), QStringList{QStringLiteral("orvendale.db3")});
}

TEST_F(MainWindowTest, AFirstStartWhileAnotherProgramWritesIsRefusedOnce)
{
    const QByteArray before = FileBytes(DbFile());
    {
        OtherProgram other(DbFile());
        other.LockForWriting();
        Start();
        other.Release();
    }
    EXPECT_FALSE(Main().Loaded());
    ASSERT_EQ(Messages().size(), 1u) << LastMessage().toStdString();
    EXPECT_EQ(Messages()[0].prompt, QStringLiteral("Impossibile connettersi al database\r\n\r\nIl file orvendale.db3 è in uso da "
                                                   "un altro programma. Chiudere l'altro programma e riavviare Gestione Verbanto."));
    EXPECT_EQ(FileBytes(DbFile()), before);
}

TEST_F(MainWindowTest, ExitAnsweredNoThenTheIconBringsTheWindowBack)
{
    Start();
    // A command loads the menu's host; the exit unloads it with every other window.
    ExpectModalNamed(QStringLiteral("frmAbout"));
    Main().cmdInfo->PerformClick();
    ASSERT_TRUE(Host().Loaded());

    platform::Script::AnswerMsgBox(platform::vbNo);
    Main().cmdEsci->PerformClick();
    ASSERT_TRUE(Main().Loaded());
    EXPECT_EQ(LastMessage(), QStringLiteral("Sei sicuro di voler chiudere Gestione Verbanto?"));
    EXPECT_EQ(Messages().back().style, platform::vbYesNo);
    EXPECT_EQ(Messages().back().title, QStringLiteral("Gestione Verbanto"));
    EXPECT_FALSE(gExiting);
    EXPECT_FALSE(Host().Loaded());

    // Minimising hides the window; a double click on the icon shows it again.
    Main().setWindowState(platform::vbMinimized);
    EXPECT_FALSE(Main().Visible());
    Main().SysTray->UserDoubleClick();
    EXPECT_TRUE(Main().Visible());
    EXPECT_EQ(Main().WindowState(), platform::vbNormal);
}

TEST_F(MainWindowTest, ExitAnsweredYesEndsWithTheIcon)
{
    Start();
    platform::Script::AnswerMsgBox(platform::vbYes);
    Main().cmdEsci->PerformClick();
    EXPECT_FALSE(Main().Loaded());
    EXPECT_FALSE(Main().SysTray);
}

TEST_F(MainWindowTest, CloseBoxAsksTheSameQuestion)
{
    Start();
    platform::Script::AnswerMsgBox(platform::vbNo);
    bool accept = true;
    Main().windowCloseRequested(accept);
    EXPECT_FALSE(accept);
    EXPECT_TRUE(Main().Loaded());
    EXPECT_EQ(LastMessage(), QStringLiteral("Sei sicuro di voler chiudere Gestione Verbanto?"));
}

TEST_F(MainWindowTest, IconDoesNothingWhileAnExitIsUnderWay)
{
    Start(QStringLiteral("-minimized"));
    gExiting = true;
    Main().SysTray->UserDoubleClick();
    Main().SysTray->UserClickBalloon();   // no grid may open: an unexpected window fails the test
    EXPECT_FALSE(Main().Visible());
}

TEST_F(MainWindowTest, BalloonClickShowsTheWindowAndOpensTheGrid)
{
    Deadline(Today().addDays(-40), 1, QStringLiteral("Rata mutuo"));
    Start(QStringLiteral("-minimized"));
    ASSERT_FALSE(Main().Visible());
    bool opened = false;
    ExpectModal<frmReportistica>([&](frmReportistica& grid) {
        opened = true;
        EXPECT_TRUE(Main().Visible());
        EXPECT_FALSE(TwoItemsEnabled());
        EXPECT_TRUE(Host().mnuApri->Enabled());
        EXPECT_EQ(grid.MSFlexGrid1->Rows(), 32);
        EXPECT_EQ(grid.MSFlexGrid1->TextMatrix(1, 1), QStringLiteral("Rata mutuo"));
        grid.cmdClose->PerformClick();
    });
    Main().SysTray->UserClickBalloon();
    EXPECT_TRUE(opened);
    EXPECT_TRUE(TwoItemsEnabled());
    EXPECT_EQ(gSqlEventi, getSetting(QStringLiteral("SQLEVENTI")));

    // While a box waits for its answer, the balloon brings the window back but opens no grid
    // that would cover the box (an unexpected window fails the test).
    Main().Hide();
    auto* box = new QDialog(Main().Window());
    QTimer::singleShot(0, box, [&] {
        Main().SysTray->UserClickBalloon();
        EXPECT_TRUE(Main().Visible());
        box->reject();
    });
    platform::RunDialog(box);
}

TEST_F(MainWindowTest, CommandsHideTheBalloonButTheUpcomingDeadlinesOneDoesNot)
{
    Deadline(Today(), 1);
    Start();
    ASSERT_TRUE(Main().SysTray->BalloonShown());
    ExpectModalNamed(QStringLiteral("frmReportistica"));
    Main().cmdVisualizaScadenze->PerformClick();
    EXPECT_TRUE(Main().SysTray->BalloonShown());
    ExpectModalNamed(QStringLiteral("frmAbout"));
    Main().cmdInfo->PerformClick();
    EXPECT_FALSE(Main().SysTray->BalloonShown());
}

TEST_F(MainWindowTest, OpenWindowsLockTheIconMenu)
{
    Start();
    ExpectModal<frmAbout>([&](frmAbout& about) {
        EXPECT_FALSE(TwoItemsEnabled());
        EXPECT_TRUE(Host().mnuApri->Enabled());
        EXPECT_TRUE(Host().mnuSystem->Enabled());
        // The balloon opens the grid over it: the grid's closing leaves the items off.
        ExpectModalNamed(QStringLiteral("frmReportistica"));
        Main().SysTray->UserClickBalloon();
        EXPECT_FALSE(TwoItemsEnabled());
        about.cmdOk->PerformClick();
        EXPECT_FALSE(about.Loaded());
    });
    Main().cmdInfo->PerformClick();
    EXPECT_TRUE(TwoItemsEnabled());

    ExpectModalNamed(QStringLiteral("frmEditSettings"), [&](platform::Form&) {
        EXPECT_FALSE(Host().mnuSystem->Enabled());
        // A right click on the icon now offers nothing to choose.
        Main().SysTray->UserRightClick();
        EXPECT_TRUE(Of(QStringLiteral("popup")).empty());
    });
    Main().cmdCambiaIntestazione->PerformClick();
    EXPECT_TRUE(Host().mnuSystem->Enabled());

    // Afterwards the menu works as before.
    Main().SysTray->UserRightClick();
    ASSERT_EQ(Of(QStringLiteral("popup")).size(), 1u);
    EXPECT_EQ(Of(QStringLiteral("popup"))[0].prompt, QStringLiteral("mnuSystem"));
}

TEST_F(MainWindowTest, WithoutContactTypesTheFirstUseOfTheMenuAsksForOne)
{
    Sql(QStringLiteral("delete from TipologiaPersone"));
    Start();
    const auto modals = [] {
        QStringList names;
        for (const auto& shown : Of(QStringLiteral("modal")))
            names << shown.prompt;
        return names.join(QLatin1Char(','));
    };
    // The first command loads the menu's host, whose empty list asks for a type before the
    // contacts open; the second finds it loaded.
    ExpectModalNamed(QStringLiteral("frmEditTipologiaPersone"));
    ExpectModalNamed(QStringLiteral("frmAnagrafica"));
    Main().cmdAnagrafica->PerformClick();
    ExpectModalNamed(QStringLiteral("frmAnagrafica"));
    Main().cmdAnagrafica->PerformClick();
    EXPECT_EQ(modals(), QStringLiteral("frmEditTipologiaPersone,frmAnagrafica,frmAnagrafica"));

    // A cancelled exit unloads the host: the next right click loads it again, the editor first.
    platform::Script::AnswerMsgBox(platform::vbNo);
    Main().cmdEsci->PerformClick();
    ASSERT_FALSE(Host().Loaded());
    ExpectModalNamed(QStringLiteral("frmEditTipologiaPersone"));
    Main().SysTray->UserRightClick();
    EXPECT_EQ(modals(), QStringLiteral("frmEditTipologiaPersone,frmAnagrafica,frmAnagrafica,frmEditTipologiaPersone"));
    ASSERT_EQ(Of(QStringLiteral("popup")).size(), 1u);
    EXPECT_EQ(platform::Script::History().back().kind, QStringLiteral("popup"));
}

TEST_F(MainWindowTest, RegistersOpenUnfiltered)
{
    Deadline(Today(), 1);
    Start();
    gWherePagamenti = QStringLiteral(" a.anagraficaid=5");
    gNomeDelContatto = QStringLiteral("Bianchi Anna");
    gWhereAnagrafica = QStringLiteral("a.cognome='x'");
    gWhereTipologiaPersone = QStringLiteral("a.tipologia='x'");
    ExpectModalNamed(QStringLiteral("frmPagamenti"), [&](platform::Form&) {
        EXPECT_TRUE(gWherePagamenti.isEmpty());
        EXPECT_TRUE(gNomeDelContatto.isEmpty());
        EXPECT_TRUE(gWhereAnagrafica.isEmpty());
        EXPECT_TRUE(gWhereTipologiaPersone.isEmpty());
        EXPECT_FALSE(TwoItemsEnabled());
    });
    Main().cmdContiCorrenti->PerformClick();
    EXPECT_TRUE(TwoItemsEnabled());

    gWhereAnagrafica = QStringLiteral("a.cognome='x'");
    gWhereAssegniEmessi = QStringLiteral("x");
    gWhereMieiContiCorrenti = QStringLiteral("x");
    ExpectModalNamed(QStringLiteral("frmAnagrafica"), [&](platform::Form&) {
        EXPECT_TRUE(gWhereAnagrafica.isEmpty());
        EXPECT_TRUE(gWhereAssegniEmessi.isEmpty());
        EXPECT_TRUE(gWhereMieiContiCorrenti.isEmpty());
    });
    Main().cmdAnagrafica->PerformClick();
}

TEST_F(MainWindowTest, AboutShowsTheWebPageAndOpensIt)
{
    Start();
    ExpectModal<frmAbout>([&](frmAbout& about) {
        EXPECT_EQ(about.Caption(), QStringLiteral("Informazioni su Gestione Verbanto"));
        EXPECT_EQ(about.lblTitle->Caption(), QStringLiteral("Gestione Verbanto"));
        EXPECT_EQ(about.OsenXPLabel3->Caption(), QStringLiteral("Versione 1.0"));
        EXPECT_TRUE(about.txtWebPage->Locked());
        about.cmdGoToWebPage->PerformClick();
        about.cmdOk->PerformClick();
    });
    Main().cmdInfo->PerformClick();
    const auto opened = Of(QStringLiteral("browser"));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].prompt, QString::fromLatin1(frmAbout::WebPage));
    EXPECT_FALSE(QFile::exists(Folder() + QStringLiteral("/test.htm")));
}

TEST_F(MainWindowTest, BackupCopiesOnceAndNeverOverwrites)
{
    Start();
    const QString copies = Folder() + QStringLiteral("/../copie");
    ASSERT_TRUE(QDir().mkpath(copies));
    platform::Script::AnswerInputBox(QStringLiteral("  ") + copies + QStringLiteral("  "));
    Main().cmdBackup->PerformClick();
    EXPECT_EQ(Of(QStringLiteral("inputbox")).back().prompt, QStringLiteral("Inserire il percorso dove copiare il database"));
    EXPECT_EQ(LastMessage(), QStringLiteral("Copia del database avvenuta con successo"));
    EXPECT_EQ(Messages().back().style, platform::vbInformation);
    const QString target = copies + QStringLiteral("/orvendale.db3");
    QFile copy(target), original(DbFile());
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), original.readAll());
    copy.close();

    // The same folder again, with its trailing separator: refused, the first copy untouched.
    const auto before = QFileInfo(target).lastModified();
    Sql(QStringLiteral("insert into pagamenti (anagraficaid, datapagamento, importo) values (5, '2024-03-01 00:00:00', 0)"));
    platform::Script::AnswerInputBox(copies + QStringLiteral("/"));
    Main().cmdBackup->PerformClick();
    EXPECT_EQ(LastMessage(), QStringLiteral("Errore durante la copia del database"));
    EXPECT_EQ(Messages().back().style, platform::vbExclamation);
    EXPECT_EQ(QFileInfo(target).lastModified(), before);

    // A folder that isn't there.
    platform::Script::AnswerInputBox(copies + QStringLiteral("/nessuna"));
    Main().cmdBackup->PerformClick();
    EXPECT_EQ(LastMessage(), QStringLiteral("Errore durante la copia del database"));
}

TEST_F(MainWindowTest, BackupCancelledOrBlankSaysNothing)
{
    Start();
    platform::Script::AnswerInputBox(QString());
    Main().cmdBackup->PerformClick();
    platform::Script::AnswerInputBox(QStringLiteral("    "));
    Main().cmdBackup->PerformClick();
    EXPECT_TRUE(Messages().empty());
}

TEST_F(MainWindowTest, IconMenuOpensTheGridShowsTheWindowAndExits)
{
    Start(QStringLiteral("-minimized"));
    ASSERT_TRUE(Of(QStringLiteral("balloon")).empty());
    Main().SysTray->UserRightClick();
    ASSERT_EQ(Of(QStringLiteral("popup")).size(), 1u);
    ASSERT_TRUE(Host().Loaded());
    EXPECT_FALSE(Host().Visible());

    // No occurrences: the grid still opens, empty, over the main window.
    ExpectModal<frmReportistica>([&](frmReportistica& grid) {
        EXPECT_TRUE(Main().Visible());
        EXPECT_EQ(grid.MSFlexGrid1->TextMatrix(0, 0), QStringLiteral("0 Records"));
    });
    Host().mnuVisProxScad->PerformClick();
    EXPECT_TRUE(TwoItemsEnabled());

    Main().Hide();
    Host().mnuApri->PerformClick();
    EXPECT_TRUE(Main().Visible());

    // "Esci" answered No: everything stays, and the icon works again.
    Main().Hide();
    platform::Script::AnswerMsgBox(platform::vbNo);
    Host().mnuEsci->PerformClick();
    EXPECT_TRUE(Main().Loaded());
    EXPECT_FALSE(gExiting);
    Main().SysTray->UserDoubleClick();
    EXPECT_TRUE(Main().Visible());

    platform::Script::AnswerMsgBox(platform::vbYes);
    Main().SysTray->UserRightClick();   // loads the host again
    Host().mnuEsci->PerformClick();
    EXPECT_FALSE(Main().Loaded());
}

} // namespace

TEST_F(MainWindowTest, OpeningAListLeavesTheWindowsOwnFontsAlone)
{
    Start();
    const QFont button = Main().cmdAnagrafica->Font();
    const QFont heading = Main().OsenXPLabel1->Font();
    ASSERT_TRUE(heading.bold());
    QFont gridFont;
    ExpectModal<frmAnagrafica>([&](frmAnagrafica& list) {
        gridFont = list.MSFlexGrid1->Font();
        list.cmdClose->PerformClick();
    });
    Main().cmdAnagrafica->PerformClick();
    ASSERT_NE(gridFont, button);   // the list's grid has a font of its own
    // The main window measures in the grid's font, but its controls keep theirs.
    EXPECT_EQ(Main().Font(), gridFont);
    EXPECT_DOUBLE_EQ(Main().TextWidth(QStringLiteral("Rossi")), QFontMetricsF(gridFont).horizontalAdvance(QStringLiteral("Rossi")) * 15);
    EXPECT_EQ(Main().cmdAnagrafica->Font(), button);
    EXPECT_EQ(Main().cmdEsci->Font(), button);
    EXPECT_EQ(Main().OsenXPLabel1->Font(), heading);
}
