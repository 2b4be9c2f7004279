// Opening the database, the shared result set, the updates run at every start, settings.
#include "harness/TestEnv.h"
#include "shared/basAggiornamentiDatabase.h"
#include "shared/basGeneral.h"
#include "shared/basGeneralCustom.h"
#include <QDir>
#include <QFile>
#include <QRegularExpression>

using namespace verbanto;

class DatabaseTest : public VerbantoTest {};

TEST_F(DatabaseTest, FirstStartCreatesSettingsAndLaterStartsKeepStoredValues)
{
    OpenProgramDb();
    EXPECT_EQ(getSetting("ORIZTEMP"), "30");
    EXPECT_EQ(getSetting("LOGSTATUS"), "OFF");
    EXPECT_EQ(getSetting("INTESTAZ"), "Verbanto");
    EXPECT_EQ(getSetting("PRTCSIZE"), "7");
    EXPECT_TRUE(getSetting("SQLEVENTI").startsWith(" e.DataEvento as DataScadenza"));
    EXPECT_TRUE(getSetting("SQLEVENTI").endsWith("order by datascadenza desc "));
    EXPECT_EQ(getSetting("NOSUCHKEY"), "");
    EXPECT_TRUE(Messages().empty());

    gDbExecute("update settings set value='90' where mnemocode='ORIZTEMP'");
    // A second start runs every update again: nothing is said and nothing stored changes.
    gNumAggiornamenti = 0;
    AggiornaDatabase();
    EXPECT_EQ(getSetting("ORIZTEMP"), "90");
    EXPECT_EQ(Count("settings"), 5);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(DatabaseTest, OpenDbOpensTheFileOnceAndCloseDbNeverComplains)
{
    gDbType = "SqlLite";
    OpenDb();
    auto* first = gSqlLiteDb.get();
    ASSERT_TRUE(first && first->IsOpen());
    OpenDb();
    EXPECT_EQ(gSqlLiteDb.get(), first);
    EXPECT_EQ(gDbPath, Folder() + "/orvendale.db3");
    EXPECT_EQ(gDbFileName, "orvendale.db3");
    CloseDb();
    CloseDb();
    EXPECT_TRUE(Messages().empty());
}

TEST_F(DatabaseTest, MissingDatabaseIsReportedOnceAndNotCreated)
{
    QFile::remove(DbFile());
    gDbType = "SqlLite";
    OpenDb();
    OpenDb();
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].prompt, "Impossibile connettersi al database");
    EXPECT_EQ(Messages()[0].style, 16);
    EXPECT_EQ(Messages()[0].title, "Gestione Verbanto");
    EXPECT_FALSE(QFile::exists(DbFile()));
    EXPECT_TRUE(DatabaseUnavailable());
}

TEST_F(DatabaseTest, FileThatIsNoDatabaseIsRefused)
{
    QFile::remove(DbFile());
    QFile f(DbFile());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    gDbType = "SqlLite";
    OpenDb();
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].prompt, "Impossibile connettersi al database");
    EXPECT_EQ(QFile(DbFile()).size(), 4096);
}

TEST_F(DatabaseTest, BadQueryGivesTheStandardReportOfGRsOpen)
{
    OpenProgramDb();
    gRsOpen("select * from nosuchtable");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_TRUE(Messages()[0].prompt.startsWith("Error 1 (no such table: nosuchtable) in procedure gRsOpen of Modulo basGeneral"))
        << Messages()[0].prompt.toStdString();
    EXPECT_EQ(Messages()[0].style, 48);
    EXPECT_TRUE(gLastRsOpenFailed);
    // The caller's read of the result then fails too: a second report, from the caller.
    const QString v = getSetting("ORIZTEMP");
    EXPECT_EQ(v, "30");
}

TEST_F(DatabaseTest, RecordsetReadsForwardByNameAndIndex)
{
    OpenProgramDb();
    gDbExecute("insert into TipologiaPersone (Tipologia) values ('Fornitore')");
    gDbExecute("insert into TipologiaPersone (Tipologia) values (NULL)");
    gRsOpen("select TIPOLOGIAID, Tipologia from TipologiaPersone order by TIPOLOGIAID");
    ASSERT_FALSE(gRs->EOF_());
    EXPECT_EQ(gRs->FieldCount(), 2);
    EXPECT_EQ(gRs->Fields(1).Name(), "Tipologia");
    EXPECT_EQ(gRs->Fields("tipologia").Value().Text(), "Fornitore");
    gRs->MoveNext();
    EXPECT_TRUE(gRs->Fields(1).Value().IsNull());
    EXPECT_THROW(gRs->Fields(1).Value().CStr(), platform::VbError);
    gRs->MoveNext();
    EXPECT_TRUE(gRs->EOF_());
    gRs->MoveFirst();
    EXPECT_EQ(gRs->Fields(0).Value().CLng(), 1);
    CloseDb();
    EXPECT_THROW(gRs->EOF_(), platform::VbError);
}

TEST_F(DatabaseTest, NuovireportRunsEachLineInOrderAtEveryStart)
{
    QFile f(Folder() + "/nuovireport.sql");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("insert into reportistica (titolo, ordine) values ('Uno', 1)\r\n"
            "insert into reportistica (titolo, ordine) values ('Dùe', 2)\r\n"
            "update reportistica set ordine = ordine + 10\r\n"
            "create table extra (k text primary key, v text not null)\r\n"
            "insert into extra (k, v) values ('a', 'x')\r\n"
            "insert into extra (k, v) values ('b', null)\r\n");
    f.close();
    OpenProgramDb();
    AggiornaReportistica();
    EXPECT_EQ(Count("reportistica"), 2);
    EXPECT_EQ(Scalar("select group_concat(titolo || ordine, ',') from reportistica"), "Uno11,Dùe12");
    // A refused statement is reported and the run goes on.
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_TRUE(Messages()[0].prompt.startsWith("Error 19 (NOT NULL constraint failed: extra.v) in procedure gDbExecute"))
        << Messages()[0].prompt.toStdString();
    AggiornaReportistica();
    EXPECT_EQ(Count("reportistica"), 4);
    // The table and the key already there say nothing; the refusal is reported again.
    EXPECT_EQ(Count("extra"), 1);
    EXPECT_EQ(Messages().size(), 2u);
}

TEST_F(DatabaseTest, FolderNamedNuovireportCountsAsAbsent)
{
    QDir().mkpath(Folder() + "/nuovireport.sql");
    OpenProgramDb();
    AggiornaReportistica();
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(FileExists(Folder() + "/nuovireport.sql"));
    EXPECT_TRUE(FileExists(DbFile()));
}

TEST_F(DatabaseTest, UpdateListHoldsThirtyStatementsAtMost)
{
    inizializzaAggiornamentiDatabase();
    EXPECT_EQ(gNumAggiornamenti, 6);
    for (int i = 7; i <= 30; ++i)
        aggiungiAggiornamentoDatabase("select 1");
    EXPECT_TRUE(Messages().empty());
    aggiungiAggiornamentoDatabase("select 31");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].prompt,
              "Error 9 (Subscript out of range) in procedure aggiungiAggiornamentoDatabase of Modulo basAggiornamentiDatabase");
    EXPECT_EQ(gNumAggiornamenti, 30);
}

TEST_F(DatabaseTest, NullSettingIsReportedAndReadsEmpty)
{
    OpenProgramDb();
    gDbExecute("update settings set value=NULL where mnemocode='INTESTAZ'");
    EXPECT_EQ(getSetting("INTESTAZ"), "");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].prompt, "Error 94 (Invalid use of Null) in procedure getSetting of Modulo basGeneralCustom");
}
