// The contact list: what it shows, its delete with the refusal, "&Gestisci Scadenze", print and CSV.
#include "ContactsFixture.h"
#include "deadlines/frmPagamenti.h"
#include "harness/DatabaseFaults.h"
#include "platform/FlexGrid.h"
#include "shared/basPrintPreview.h"
#include <QFile>
#include <QWidget>

using namespace verbanto;
using platform::FlexGrid;

TEST_F(ContactsTest, ListHidesTypeOneAndRenamesItsHeaders)
{
    AddContact(QStringLiteral("Rossi"), QStringLiteral("Mario"));
    AddContact(QStringLiteral("Interno"), QStringLiteral("Ufficio"), QString(), 1);
    Sql(QStringLiteral("insert into Anagrafica (Cognome) values ('SenzaTipo')"));   // type Null: not <> 1 either
    OnContactList([](frmAnagrafica& f) {
        FlexGrid& g = *f.MSFlexGrid1;
        ASSERT_EQ(g.Rows(), 2);
        EXPECT_EQ(g.TextMatrix(1, 1), QStringLiteral("Rossi"));
        ASSERT_EQ(g.Cols(), 17);
        const QStringList expected{"IDFIELD", "Cognome / Ragione Sociale", "Nome", "Indirizzo", "CAP", "Comune", "Provincia",
                                   "Telefono Casa", "Telefono Ufficio", "Fax", "Cellulare", "Codice Fiscale / Partita IVA",
                                   "E-mail", "Sito Web", "Note", "Data Creazione", "Data Ultima Modifica"};
        for (int c = 0; c < 17; ++c)
            EXPECT_EQ(g.TextMatrix(0, c), expected[c]) << c;
        EXPECT_EQ(g.ColWidth(0), 0);
        EXPECT_EQ(f.Caption(), QStringLiteral("Contatti"));
        // A modal list cannot be minimised out of sight.
        EXPECT_FALSE(f.Window()->windowFlags() & Qt::WindowMinimizeButtonHint);
        EXPECT_EQ(g.Row(), 0);
        f.cmdClose->PerformClick();
    });
}

TEST_F(ContactsTest, FilterClauseIsAddedInsideParentheses)
{
    AddContact(QStringLiteral("Rossi"), QStringLiteral("Mario"));
    AddContact(QStringLiteral("Bianchi"), QStringLiteral("Anna"));
    gWhereAnagrafica = QStringLiteral("a.Nome = 'Anna' or 1=1");   // an OR must not reach type 1
    AddContact(QStringLiteral("Nascosto"), QString(), QString(), 1);
    OnContactList([](frmAnagrafica& f) {
        EXPECT_EQ(f.MSFlexGrid1->Rows(), 3);
        EXPECT_EQ(RowOf(*f.MSFlexGrid1, QStringLiteral("Nascosto")), -1);
    });
}

TEST_F(ContactsTest, DeleteIsRefusedWhileDeadlinesReferToTheContact)
{
    const long long rossi = AddContact(QStringLiteral("Rossi"), QStringLiteral("Mario"));
    AddDeadline(rossi);
    OnContactList([&](frmAnagrafica& f) {
        FlexGrid& g = *f.MSFlexGrid1;
        g.UserClickCell(RowOf(g, QStringLiteral("Rossi")), 1);
        f.cmdDelete->PerformClick();
        EXPECT_EQ(LastMessage(), QStringLiteral("Impossibile eliminare il record. Esistono pagamenti collegati."));
        EXPECT_EQ(Messages().back().style, platform::vbExclamation);
        EXPECT_EQ(Questions(), 0);   // refused before any question
        EXPECT_EQ(g.Rows(), 2);
    });
    EXPECT_EQ(Count(QStringLiteral("Anagrafica")), 1);
    EXPECT_EQ(Count(QStringLiteral("Pagamenti")), 1);
}

TEST_F(ContactsTest, DeleteInPlaceKeepsTheOrderOfTheOtherRows)
{
    for (const char* s : {"Bianchi", "Verdi", "Azzurri", "Neri"})
        AddContact(QString::fromLatin1(s));
    const long long other = AddContact(QStringLiteral("Conti"));
    AddDeadline(other);   // deadlines of another contact do not matter
    OnContactList([&](frmAnagrafica& f) {
        FlexGrid& g = *f.MSFlexGrid1;
        g.UserClickHeader(1);   // ascending by surname
        ASSERT_EQ(g.TextMatrix(1, 1), QStringLiteral("Azzurri"));
        // No: nothing changes.
        g.UserClickCell(RowOf(g, QStringLiteral("Neri")), 1);
        platform::Script::AnswerMsgBox(platform::vbNo);
        f.cmdDelete->PerformClick();
        EXPECT_EQ(g.Rows(), 6);
        // Yes, through the Delete key: the row goes, the others stay sorted without a refill.
        g.UserClickCell(RowOf(g, QStringLiteral("Neri")), 1);
        platform::Script::AnswerMsgBox(platform::vbYes);
        g.UserPressKey(platform::vbKeyDelete);
        EXPECT_EQ(LastMessage(), QStringLiteral("Sei sicuro di voler eliminare il record?"));
        ASSERT_EQ(g.Rows(), 5);
        QStringList shown;
        for (int r = 1; r < g.Rows(); ++r)
            shown << g.TextMatrix(r, 1);
        EXPECT_EQ(shown, (QStringList{"Azzurri", "Bianchi", "Conti", "Verdi"}));
    });
    EXPECT_EQ(Count(QStringLiteral("Anagrafica"), QStringLiteral("Cognome = 'Neri'")), 0);
    EXPECT_EQ(Count(QStringLiteral("Anagrafica")), 4);
}

TEST_F(ContactsTest, DeletingTheOnlyContactLeavesTheHeaderRow)
{
    AddContact(QStringLiteral("Rossi"));
    OnContactList([&](frmAnagrafica& f) {
        FlexGrid& g = *f.MSFlexGrid1;
        f.cmdDelete->PerformClick();   // no row chosen yet: nothing at all
        EXPECT_TRUE(Messages().empty());
        g.UserClickCell(1, 2);
        platform::Script::AnswerMsgBox(platform::vbYes);
        f.cmdDelete->PerformClick();
        EXPECT_EQ(g.Rows(), 1);
        EXPECT_EQ(g.TextMatrix(0, 1), QStringLiteral("Cognome / Ragione Sociale"));
    });
    EXPECT_EQ(Count(QStringLiteral("Anagrafica")), 0);
}

TEST_F(ContactsTest, GestisciScadenzeOpensTheDeadlinesOfTheContact)
{
    const long long rossi = AddContact(QStringLiteral("Rossi"), QStringLiteral("Mario"));
    const long long bianchi = AddContact(QStringLiteral("Bianchi"), QStringLiteral("Anna"));
    AddDeadline(rossi, QStringLiteral("2030-01-15 00:00:00"));
    AddDeadline(rossi, QStringLiteral("2030-02-15 00:00:00"));
    AddDeadline(bianchi);
    OnContactList([&](frmAnagrafica& f) {
        FlexGrid& g = *f.MSFlexGrid1;
        // Nothing chosen yet.
        f.cmdApriPagamenti->PerformClick();
        EXPECT_EQ(LastMessage(), QStringLiteral("Selezionare il contatto di cui si vogliono visualizzare le scadenze correlate."));
        g.UserClickCell(RowOf(g, QStringLiteral("Rossi")), 3);
        ExpectModal<frmPagamenti>([&](frmPagamenti& p) {
            EXPECT_EQ(p.Caption(), QStringLiteral("Scadenze relative al contatto Rossi Mario"));
            EXPECT_FALSE(p.cmdSelect->Enabled());
            EXPECT_EQ(p.MSFlexGrid1->Rows(), 3);
            for (int r = 1; r < p.MSFlexGrid1->Rows(); ++r)
                EXPECT_EQ(p.MSFlexGrid1->TextMatrix(r, 1), QStringLiteral("Rossi Mario"));
            p.cmdClose->PerformClick();
        });
        f.cmdApriPagamenti->PerformClick();
        EXPECT_EQ(f.mANAGRAFICAID, rossi);
    });
    // Contact mode outlives the deadline list.
    EXPECT_EQ(gWherePagamenti, QStringLiteral(" a.anagraficaid=") + QString::number(rossi));
    EXPECT_EQ(gNomeDelContatto, QStringLiteral("Rossi Mario"));
    EXPECT_EQ(gIdDelContatto, rossi);
}

TEST_F(ContactsTest, GestisciScadenzeWithoutDeadlinesOpensNothing)
{
    AddContact(QStringLiteral("Acme srl"));
    OnContactList([&](frmAnagrafica& f) {
        f.MSFlexGrid1->UserClickCell(1, 1);
        f.cmdApriPagamenti->PerformClick();
        EXPECT_EQ(LastMessage(), QStringLiteral("Non risultano scadenze correlate a questo contatto."));
    });
    EXPECT_TRUE(gNomeDelContatto.isEmpty());
    EXPECT_TRUE(gWherePagamenti.isEmpty());
}

TEST_F(ContactsTest, BusinessWithoutNameGivesCaptionWithTrailingBlank)
{
    const long long acme = AddContact(QStringLiteral("Acme srl"));
    AddDeadline(acme);
    OnContactList([&](frmAnagrafica& f) {
        f.MSFlexGrid1->UserClickCell(1, 1);
        ExpectModal<frmPagamenti>([](frmPagamenti& p) {
            EXPECT_EQ(p.Caption(), QStringLiteral("Scadenze relative al contatto Acme srl "));
        });
        f.cmdApriPagamenti->PerformClick();
    });
}

TEST_F(ContactsTest, PrintShowsEveryColumnButTheId)
{
    Sql(QStringLiteral("update settings set value = 'Studio Verbanto' where mnemocode = 'INTESTAZ'"));
    AddContact(QStringLiteral("Rossi & figli"), QStringLiteral("Mario"));
    OnContactList([](frmAnagrafica& f) { f.cmdPrintGrid->PerformClick(); });
    const auto previews = platform::Script::Of(QStringLiteral("preview"));
    ASSERT_EQ(previews.size(), 1u);
    const QString html = previews[0].prompt;
    EXPECT_TRUE(html.contains(QStringLiteral("Studio Verbanto - Contatti</p>")));
    EXPECT_FALSE(html.contains(QStringLiteral("IDFIELD")));
    EXPECT_TRUE(html.contains(QStringLiteral("<th>Data Ultima Modifica</th>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<td>Rossi & figli</td>")));
    EXPECT_EQ(gNoPrintColumns[1], 0);
    EXPECT_EQ(gNoPrintColumns[2], -1);
}

TEST_F(ContactsTest, CsvExportSkipsTheIdColumn)
{
    AddContact(QStringLiteral("Rossi \"il grande\""), QStringLiteral("Mario"));
    const QString path = Folder() + QStringLiteral("/contatti.csv");
    platform::Script::AnswerSaveDialog(path);
    OnContactList([](frmAnagrafica& f) { f.cmdEsportaDati->PerformClick(); });
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("\"Cognome / Ragione Sociale\";\"Nome\";")));
    EXPECT_EQ(lines[0].count(u';'), 15);
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("\"Rossi \"\"il grande\"\"\";\"Mario\";")));
    EXPECT_EQ(LastMessage(), QStringLiteral("I dati sono stati esportati con successo sul file ") + path);
}

TEST_F(ContactsTest, ALockedFileStopsTheDeleteAtItsCheckWithOneReport)
{
    AddContact(QStringLiteral("Rossi"));
    AddContact(QStringLiteral("Bianchi"));
    OtherProgram other(DbFile());
    OnContactList([&](frmAnagrafica& f) {
        FlexGrid& g = *f.MSFlexGrid1;
        g.UserClickCell(RowOf(g, QStringLiteral("Rossi")), 1);
        platform::Script::Clear();
        other.Lock();
        g.UserPressKey(platform::vbKeyDelete);
        other.Release();
        // Whether deadlines use the contact could not be read: nothing is asked, nothing goes.
        ASSERT_EQ(Messages().size(), 1u) << LastMessage().toStdString();
        EXPECT_EQ(LastMessage(), QStringLiteral("Error 5 (database is locked) in procedure cmdDelete_Click of Form frmAnagrafica"));
        EXPECT_EQ(g.Rows(), 3);
    });
    EXPECT_EQ(Count(QStringLiteral("Anagrafica")), 2);
}

TEST_F(ContactsTest, FailedDeleteKeepsTheContactInTheList)
{
    AddContact(QStringLiteral("Rossi"));
    AddContact(QStringLiteral("Bianchi"));
    Sql(QStringLiteral("CREATE TRIGGER keep BEFORE DELETE ON Anagrafica BEGIN SELECT RAISE(ABORT, 'bloccato'); END"));
    OnContactList([&](frmAnagrafica& f) {
        FlexGrid& g = *f.MSFlexGrid1;
        g.UserClickCell(RowOf(g, QStringLiteral("Rossi")), 1);
        platform::Script::AnswerMsgBox(platform::vbYes);
        f.cmdDelete->PerformClick();
        EXPECT_TRUE(LastMessage().contains(QStringLiteral("bloccato"))) << LastMessage().toStdString();
        EXPECT_EQ(g.Rows(), 3);
        EXPECT_GT(RowOf(g, QStringLiteral("Rossi")), 0);
    });
    EXPECT_EQ(Count(QStringLiteral("Anagrafica")), 2);
}

TEST_F(ContactsTest, AtItsLeastSizeTheListStillShowsEveryCommandAboveTheGrid)
{
    AddContact(QStringLiteral("Rossi"), QStringLiteral("Mario"));
    OnContactList([](frmAnagrafica& f) {
        f.Move(f.Left(), f.Top(), 1000, 1000);
        EXPECT_GE(f.Width(), ListForm::MinWidth - platform::TwipsPerPixel);
        EXPECT_GE(f.Height(), ListForm::MinHeight - platform::TwipsPerPixel);
        std::vector<const platform::Button*> commands;
        for (const platform::Control* c : f.Controls())
            if (const auto* b = dynamic_cast<const platform::Button*>(c))
                commands.push_back(b);
        ASSERT_EQ(commands.size(), 7u);
        const auto place = [](const platform::Control& c) { return QRectF(c.Left(), c.Top(), c.Width(), c.Height()); };
        const QRectF window(0, 0, f.ScaleWidth(), f.ScaleHeight());
        const QRectF grid = place(*f.MSFlexGrid1);
        EXPECT_GT(grid.height(), 0);
        for (const platform::Button* b : commands) {
            const QRectF r = place(*b);
            EXPECT_TRUE(b->Visible()) << b->Name.toStdString();
            EXPECT_TRUE(window.contains(r)) << b->Name.toStdString();
            EXPECT_LE(r.bottom(), grid.top()) << b->Name.toStdString();
            for (const platform::Button* other : commands)
                EXPECT_TRUE(b == other || !r.intersects(place(*other))) << b->Name.toStdString();
        }
    });
}
