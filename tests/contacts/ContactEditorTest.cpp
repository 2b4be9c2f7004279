// The contact editor: its checks, the exact statements it writes, the list refresh, the card.
#include "ContactsFixture.h"
#include <QWidget>

using namespace verbanto;
using platform::FlexGrid;

namespace {
const QString kInsertHead = QStringLiteral(
    "INSERT INTO Anagrafica (TIPOLOGIAID, Nome, Cognome, Indirizzo, CAP, Comune, Provincia, TelefonoCasa, "
    "TelefonoUfficio, Fax, Cellulare, CFIva, Email, SitoWeb, NoteAnagrafica, "
    "numerotessera,datanascita,dataiscrizione,datascadenzaiscrizione,DateTimeCreated) VALUES (");
}

TEST_F(ContactsTest, EmptyRegisterOpensTheEditorAndItsInsertFillsTheList)
{
    QString written;
    ExpectModal<frmEditAnagrafica>([&](frmEditAnagrafica& e) {
        EXPECT_EQ(e.Caption(), QStringLiteral("Anagrafica Contatti"));
        EXPECT_FALSE(e.Window()->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
        e.txtCognome->setText(QStringLiteral("  D'Amico "));
        written = e.InsertStatement();
        e.cmdOK->PerformClick();
    });
    OnContactList([](frmAnagrafica& f) {
        ASSERT_EQ(f.MSFlexGrid1->Rows(), 2);
        EXPECT_EQ(f.MSFlexGrid1->TextMatrix(1, 1), QStringLiteral("D'Amico"));
    });
    QString nulls;
    for (int i = 0; i < 16; ++i)
        nulls += QStringLiteral("Null,  ");
    EXPECT_EQ(Stamped(written), kInsertHead + QStringLiteral("0,  Null,  'D''Amico',  ") + nulls + QStringLiteral("'TS') "));
    EXPECT_EQ(Scalar(QStringLiteral("select Cognome || '|' || TIPOLOGIAID || '|' || ifnull(Nome,'N') || '|' || ifnull(DateTimeLastUpdated,'N') from Anagrafica")),
              QStringLiteral("D'Amico|0|N|N"));
    EXPECT_EQ(Scalar(QStringLiteral("select length(DateTimeCreated) from Anagrafica")), QStringLiteral("19"));
}

TEST_F(ContactsTest, EmptyRegisterCancelledShowsZeroRecords)
{
    ExpectModal<frmEditAnagrafica>([](frmEditAnagrafica& e) { e.cmdCancel->PerformClick(); });
    OnContactList([](frmAnagrafica& f) {
        EXPECT_EQ(f.MSFlexGrid1->Rows(), 1);
        EXPECT_EQ(f.MSFlexGrid1->TextMatrix(0, 0), QStringLiteral("0 Records"));
        EXPECT_EQ(f.MSFlexGrid1->ColWidth(0), 1000);
    });
    EXPECT_EQ(Count(QStringLiteral("Anagrafica")), 0);
}

TEST_F(ContactsTest, SurnameAndPostalCodeChecks)
{
    AddContact(QStringLiteral("Rossi"));
    OnContactList([&](frmAnagrafica& f) {
        ExpectModal<frmEditAnagrafica>([&](frmEditAnagrafica& e) {
            e.txtCognome->setText(QStringLiteral("   "));
            e.txtCAP->setText(QStringLiteral("12"));
            e.cmdOK->PerformClick();   // the surname first, whatever the code holds
            EXPECT_EQ(LastMessage(), QStringLiteral("Inserire il cognome o la ragione sociale"));
            e.txtCognome->setText(QStringLiteral("Verdi"));
            e.cmdOK->PerformClick();
            EXPECT_EQ(LastMessage(), QStringLiteral("Lunghezza del codice di avviamento postale non valida"));
            e.txtCAP->setText(QStringLiteral("2O121"));   // a letter O
            e.cmdOK->PerformClick();
            EXPECT_EQ(LastMessage(), QStringLiteral("Il codice di avviamento postale contiene caratteri non validi"));
            EXPECT_EQ(Messages().size(), 3u);
            for (const auto& m : Messages()) {
                EXPECT_EQ(m.style, platform::vbExclamation);
                EXPECT_EQ(m.title, QStringLiteral("Gestione Verbanto"));
            }
            EXPECT_TRUE(e.Loaded());
            e.txtCAP->setText(QStringLiteral(" 00123 "));
            e.cmdOK->PerformClick();
        });
        f.cmdAdd->PerformClick();
    });
    EXPECT_EQ(Scalar(QStringLiteral("select CAP from Anagrafica where Cognome = 'Verdi'")), QStringLiteral("00123"));
}

TEST_F(ContactsTest, AddingToAFilledListAppendsTheNewRow)
{
    for (int i = 0; i < 40; ++i)
        AddContact(QStringLiteral("Contatto %1").arg(i, 2, 10, QLatin1Char('0')));
    OnContactList([&](frmAnagrafica& f) {
        FlexGrid& g = *f.MSFlexGrid1;
        ExpectModal<frmEditAnagrafica>([](frmEditAnagrafica& e) {
            e.txtCognome->setText(QStringLiteral("Zeta"));
            e.txtNome->setText(QStringLiteral("Ultimo"));
            e.txtComune->setText(QStringLiteral("Roma"));
            e.cmdOK->PerformClick();
        });
        f.cmdAdd->PerformClick();
        ASSERT_EQ(g.Rows(), 42);
        EXPECT_EQ(g.TextMatrix(41, 1), QStringLiteral("Zeta"));
        EXPECT_EQ(g.TextMatrix(41, 5), QStringLiteral("Roma"));
        EXPECT_EQ(QString::number(f.mANAGRAFICAID), g.TextMatrix(41, 0));
        EXPECT_TRUE(g.RowIsVisible(41));
    });
}

TEST_F(ContactsTest, EditRewritesEveryFieldAndTheRowInPlace)
{
    AddContact(QStringLiteral("Bianchi"));
    const long long rossi = AddContact(QStringLiteral("Rossi"), QStringLiteral("Mario"), QStringLiteral("Milano"), 3);
    Sql(QStringLiteral("update Anagrafica set DateTimeCreated = '2020-05-05 10:00:00', DataNascita = '1970-01-01 00:00:00' where ANAGRAFICAID = %1").arg(rossi));
    // The type, card number and dates have no control here: an edit keeps them.
    QString written;
    OnContactList([&](frmAnagrafica& f) {
        FlexGrid& g = *f.MSFlexGrid1;
        const int row = RowOf(g, QStringLiteral("Rossi"));
        ExpectModal<frmEditAnagrafica>([&](frmEditAnagrafica& e) {
            EXPECT_EQ(e.txtNome->Text(), QStringLiteral("Mario"));
            EXPECT_EQ(e.txtComune->Text(), QStringLiteral("Milano"));
            EXPECT_EQ(e.txtIndirizzo->Text(), QString());
            e.txtComune->setText(QStringLiteral("Roma"));
            e.txtNote->setText(QStringLiteral("cliente dal '90"));
            e.txtEmail->setText(QStringLiteral("  "));
            written = e.UpdateStatement();
            e.cmdOK->PerformClick();
        });
        g.UserDoubleClickCell(row, 2);
        EXPECT_EQ(g.Rows(), 3);
        EXPECT_EQ(g.TextMatrix(row, 5), QStringLiteral("Roma"));
        EXPECT_EQ(g.TextMatrix(row, 14), QStringLiteral("cliente dal '90"));
        EXPECT_EQ(g.TextMatrix(row, 0), QString::number(rossi));
        EXPECT_FALSE(g.TextMatrix(row, 16).isEmpty());
    });
    EXPECT_EQ(Stamped(written),
              QStringLiteral("UPDATE Anagrafica SET TIPOLOGIAID = 3,  Nome = 'Mario',  Cognome = 'Rossi',  Indirizzo = Null,  "
                             "CAP = Null,  Comune = 'Roma',  Provincia = Null,  TelefonoCasa = Null,  TelefonoUfficio = Null,  "
                             "Fax = Null,  Cellulare = Null,  CFIva = Null,  Email = Null,  SitoWeb = Null,  "
                             "NoteAnagrafica = 'cliente dal ''90',  NumeroTessera = 'T1',  DataNascita = '1970-01-01 00:00:00',  "
                             "DataIscrizione = Null,  DataScadenzaIscrizione = Null,  DateTimeLastUpdated = 'TS' "
                             "WHERE ANAGRAFICAID = ") +
                  QString::number(rossi) + QStringLiteral(" "));
    EXPECT_EQ(Scalar(QStringLiteral("select TIPOLOGIAID || '|' || ifnull(NumeroTessera,'N') || '|' || ifnull(DataNascita,'N') || '|' || DateTimeCreated || '|' || length(DateTimeLastUpdated) from Anagrafica where ANAGRAFICAID = %1").arg(rossi)),
              QStringLiteral("3|T1|1970-01-01 00:00:00|2020-05-05 10:00:00|19"));
}

TEST_F(ContactsTest, DoubleClickOnTheHeaderOpensNothing)
{
    AddContact(QStringLiteral("Rossi"));
    OnContactList([](frmAnagrafica& f) { f.MSFlexGrid1->UserDoubleClickHeader(2); });
    EXPECT_EQ(platform::Script::Of(QStringLiteral("modal")).size(), 1u);   // the list itself
}

TEST_F(ContactsTest, ContactCardPrintsLabelsAndCurrentTexts)
{
    Sql(QStringLiteral("update settings set value = 'Studio Verbanto' where mnemocode = 'INTESTAZ'"));
    AddContact(QStringLiteral("Rossi"));
    OnContactList([&](frmAnagrafica& f) {
        ExpectModal<frmEditAnagrafica>([](frmEditAnagrafica& e) {
            e.txtCognome->setText(QStringLiteral("Neri <srl>"));
            e.txtCAP->setText(QStringLiteral("20100"));
            e.cmdPrint->PerformClick();
            EXPECT_TRUE(e.Loaded());   // printing neither saves nor closes
            e.cmdCancel->PerformClick();
        });
        f.cmdAdd->PerformClick();
    });
    const auto previews = platform::Script::Of(QStringLiteral("preview"));
    ASSERT_EQ(previews.size(), 1u);
    const QString html = previews[0].prompt;
    EXPECT_TRUE(html.contains(QStringLiteral("Studio Verbanto</p>")));
    EXPECT_TRUE(html.contains(QStringLiteral("Scheda del contatto</p>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<tr><th>Cognome / Ragione Sociale</th><td>Neri &lt;srl&gt;</td></tr>"
                                             "<tr><th>Nome</th><td></td></tr>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<tr><th>CAP</th><td>20100</td></tr>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<tr><th>Note</th><td></td></tr>")));
    EXPECT_EQ(Count(QStringLiteral("Anagrafica")), 1);
}
