// A new user's first run, through the main window: empty database, the contact-type editor that
// the menu host's load opens, the contact list with its editor, a deadline for that contact,
// and the count of upcoming deadlines. Also the icon menu that the type list hosts.
#include "contacts/frmAnagrafica.h"
#include "contacts/frmEditAnagrafica.h"
#include "contacts/frmEditTipologiaPersone.h"
#include "contacts/frmTipologiaPersone.h"
#include "deadlines/frmEditPagamenti.h"
#include "deadlines/frmPagamenti.h"
#include "harness/TestEnv.h"
#include "mainwindow/frmMain.h"
#include "platform/FlexGrid.h"
#include "shared/basGeneral.h"

using namespace verbanto;
using platform::Forms::Instance;

class FirstRunTest : public VerbantoTest {
protected:
    frmMain& StartMain()
    {
        frmMain& m = Instance<frmMain>();
        m.Start();
        return m;
    }
    long long Types() { return Count(QStringLiteral("TipologiaPersone")); }
};

TEST_F(FirstRunTest, NewUserFromEmptyDatabaseToTheFirstReminder)
{
    frmMain& main = StartMain();
    EXPECT_EQ(platform::Script::Of(QStringLiteral("modal")).size(), 0u);   // start-up leaves the host unloaded

    // "&Contatti": the type editor first, then the empty contact list opens its editor.
    ExpectModal<frmEditTipologiaPersone>([](frmEditTipologiaPersone& e) {
        e.txtTipologia->setText(QStringLiteral("Cliente"));
        e.cmdOK->PerformClick();
    });
    ExpectModal<frmEditAnagrafica>([](frmEditAnagrafica& e) {
        e.txtCognome->setText(QStringLiteral("Rossi"));
        e.txtNome->setText(QStringLiteral("Mario"));
        e.cmdOK->PerformClick();
    });
    ExpectModal<frmAnagrafica>([&](frmAnagrafica& f) {
        // While the list is open the menu can neither open the grid nor exit.
        auto& host = Instance<frmTipologiaPersone>();
        EXPECT_FALSE(host.mnuVisProxScad->Enabled());
        EXPECT_FALSE(host.mnuEsci->Enabled());
        EXPECT_TRUE(host.mnuApri->Enabled());
        ASSERT_EQ(f.MSFlexGrid1->Rows(), 2);
        EXPECT_EQ(f.MSFlexGrid1->TextMatrix(1, 1), QStringLiteral("Rossi"));
        f.MSFlexGrid1->UserClickCell(1, 1);
        f.cmdApriPagamenti->PerformClick();
        EXPECT_EQ(LastMessage(), QStringLiteral("Non risultano scadenze correlate a questo contatto."));
        f.cmdClose->PerformClick();
    });
    main.cmdAnagrafica->PerformClick();
    EXPECT_EQ(Types(), 1);
    EXPECT_EQ(Count(QStringLiteral("Anagrafica"), QStringLiteral("Cognome = 'Rossi' and TIPOLOGIAID = 0")), 1);

    // "&Gestione Scadenze": the empty deadline list opens its editor; the new contact is offered.
    ExpectModal<frmEditPagamenti>([](frmEditPagamenti& e) {
        ASSERT_EQ(e.cboSocio->ListCount(), 1);
        EXPECT_EQ(e.cboSocio->List(0), QStringLiteral("Rossi Mario"));
        e.cboSocio->setListIndex(0);
        e.txtCausale->setText(QStringLiteral("Rinnovo contratto"));
        e.cmdOK->PerformClick();
    });
    ExpectModal<frmPagamenti>([](frmPagamenti& p) {
        EXPECT_EQ(p.MSFlexGrid1->Rows(), 2);
        p.cmdClose->PerformClick();
    });
    main.cmdContiCorrenti->PerformClick();

    // The deadline falls today: one upcoming deadline, on the command and in the balloon.
    EXPECT_EQ(main.cmdVisualizaScadenze->Caption(), QStringLiteral("Visualizza Prossime Scadenze (1)"));
    const auto balloons = platform::Script::Of(QStringLiteral("balloon"));
    ASSERT_FALSE(balloons.empty());
    EXPECT_TRUE(balloons.back().prompt.contains(QStringLiteral("Hai 1 prossime scadenze")));

    // Back in the contacts, "&Gestisci Scadenze" now opens that deadline.
    ExpectModal<frmAnagrafica>([&](frmAnagrafica& f) {
        f.MSFlexGrid1->UserClickCell(1, 1);
        ExpectModal<frmPagamenti>([](frmPagamenti& p) {
            EXPECT_EQ(p.Caption(), QStringLiteral("Scadenze relative al contatto Rossi Mario"));
            EXPECT_EQ(p.MSFlexGrid1->Rows(), 2);
            p.cmdClose->PerformClick();
        });
        f.cmdApriPagamenti->PerformClick();
        f.cmdClose->PerformClick();
    });
    main.cmdAnagrafica->PerformClick();
    EXPECT_EQ(Types(), 1);   // the host stayed loaded: no second type editor
}

TEST_F(FirstRunTest, CancelledTypeEditorLetsTheActionGoOnAndComesBackAfterACancelledExit)
{
    frmMain& main = StartMain();
    // First right click: the editor, then the menu with its four entries.
    ExpectModal<frmEditTipologiaPersone>([](frmEditTipologiaPersone& e) { e.cmdCancel->PerformClick(); });
    main.SysTray_RightButtonClick();
    EXPECT_EQ(Types(), 0);
    const auto popups = platform::Script::Of(QStringLiteral("popup"));
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0].prompt, QStringLiteral("mnuSystem"));
    auto& host = Instance<frmTipologiaPersone>();
    ASSERT_EQ(host.mnuSystem->Items().size(), 4u);
    const QStringList captions{"Apri", "Visualizza prossime scadenze", "-", "Esci"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(host.mnuSystem->Items()[i]->Caption(), captions[i]);
    EXPECT_TRUE(host.mnutest->IsSeparator());

    // A second right click finds the host loaded.
    main.SysTray_RightButtonClick();
    EXPECT_EQ(platform::Script::Of(QStringLiteral("modal")).size(), 1u);

    // "Esci" answered No unloads the host; the next use loads it again, editor included.
    platform::Script::AnswerMsgBox(platform::vbNo);
    host.mnuEsci->PerformClick();
    EXPECT_EQ(LastMessage(), QStringLiteral("Sei sicuro di voler chiudere Gestione Verbanto?"));
    EXPECT_FALSE(gExiting);
    EXPECT_TRUE(main.Loaded());
    EXPECT_FALSE(Instance<frmTipologiaPersone>().Loaded());
    ExpectModal<frmEditTipologiaPersone>([](frmEditTipologiaPersone& e) { e.cmdCancel->PerformClick(); });
    main.SysTray_RightButtonClick();
    EXPECT_EQ(platform::Script::Of(QStringLiteral("popup")).size(), 3u);
}

TEST_F(FirstRunTest, MenuItemsCallTheMainWindow)
{
    Sql(QStringLiteral("insert into TipologiaPersone (Tipologia) values ('Cliente')"));
    frmMain& main = StartMain();
    main.SysTray_RightButtonClick();
    auto& host = Instance<frmTipologiaPersone>();

    main.Hide();
    host.mnuApri->PerformClick();
    EXPECT_TRUE(main.Visible());

    ExpectModalNamed(QStringLiteral("frmReportistica"), [&](platform::Form&) {
        EXPECT_FALSE(host.mnuVisProxScad->Enabled());
        EXPECT_FALSE(host.mnuEsci->Enabled());
    });
    host.mnuVisProxScad->PerformClick();
    EXPECT_TRUE(host.mnuVisProxScad->Enabled());

    platform::Script::AnswerMsgBox(platform::vbYes);
    host.mnuEsci->PerformClick();
    EXPECT_TRUE(gExiting);
    EXPECT_FALSE(main.Loaded());
}
