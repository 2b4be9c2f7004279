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
    EXPECT_FALSE(gRsOpen("select * from nosuchtable"));
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_TRUE(Messages()[0].prompt.startsWith("Error 1 (no such table: nosuchtable) in procedure gRsOpen of Modulo basGeneral"))
        << Messages()[0].prompt.toStdString();
    EXPECT_EQ(Messages()[0].style, 48);
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

TEST_F(DatabaseTest, AFieldsTextWithoutItsValueIsTheValuesTextInUtf8)
{
    OpenProgramDb();
    gRsOpen("select 0, -42, 9223372036854775807, -9223372036854775808, 1000.0, 234.5, 1e20, -0.1, 1.0/3, null, '', "
            "'Città \"più\"', cast(x'41ff42' as text), x'4142', 12 union all select 7, 8, 9, 10, 11, 12, 13, 14, 15, "
            "'testo', null, 16, 17, 18, null");
    for (int row = 0; row < 2; ++row) {
        ASSERT_FALSE(gRs->EOF_());
        for (int i = 0; i < gRs->FieldCount(); ++i) {
            const std::string_view text = gRs->fieldUtf8(i);
            EXPECT_EQ(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), gRs->fieldValue(i).Text())
                << "row " << row << " field " << i;
        }
        EXPECT_TRUE(gRs->fieldUtf8(gRs->FieldCount()).empty());   // past the last field: nothing
        gRs->MoveNext();
    }
    EXPECT_TRUE(gRs->EOF_());
    EXPECT_THROW(gRs->fieldUtf8(0), platform::VbError);
    CloseDb();
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

TEST_F(DatabaseTest, ExecuteAndQueryTellTheCallerWhetherTheyWorked)
{
    OpenProgramDb();
    EXPECT_TRUE(gDbExecute("insert into TipologiaPersone (Tipologia) values ('a')"));
    EXPECT_FALSE(gDbExecute("insert into nosuchtable values (1)"));
    EXPECT_TRUE(gRsOpen("select * from TipologiaPersone"));
    EXPECT_FALSE(gRsOpen("select * from nosuchtable"));
    EXPECT_EQ(Messages().size(), 2u);
}

TEST_F(DatabaseTest, StatementsThatBelongTogetherTakeEffectTogetherOrNotAtAll)
{
    OpenProgramDb();
    Sql("insert into Pagamenti (PagamentiID, causale) values (7, 'x')");
    Sql("insert into Girate (PagamentiID) values (7)");
    Sql("insert into Versamenti (PagamentiID) values (7)");
    const QStringList group = {"DELETE From girate WHERE PagamentiID = 7", "DELETE From versamenti WHERE PagamentiID = 7",
                               "DELETE From Pagamenti WHERE PagamentiID = 7"};
    Sql("create trigger keep before delete on Pagamenti begin select raise(abort, 'bloccato'); end");
    // The refusal goes to the caller, whose handler reports it; nothing is shown here.
    try {
        gDbWrite(group);
        ADD_FAILURE() << "the refusal was not raised";
    } catch (const platform::VbError& e) {
        EXPECT_EQ(e.Number, 19);
        EXPECT_EQ(e.Description, "bloccato");
    }
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Count("Girate") + Count("Versamenti") + Count("Pagamenti"), 3);
    // The connection is left outside any transaction: the next statement is saved on its own.
    EXPECT_TRUE(gDbExecute("insert into TipologiaPersone (Tipologia) values ('dopo')"));
    EXPECT_EQ(Count("TipologiaPersone"), 1);

    Sql("drop trigger keep");
    gDbWrite(group);
    EXPECT_EQ(Count("Girate") + Count("Versamenti") + Count("Pagamenti"), 0);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(DatabaseTest, TheExpectedTablesAreThoseTheSchemaShips)
{
    platform::SqlLiteConnection schema;
    schema.OpenDatabase(DbFile(), QString());
    auto rs = schema.OpenRecordset("select name from sqlite_master where type = 'table' order by name");
    QStringList shipped;
    for (; !rs->EOF_(); rs->MoveNext())
        shipped << rs->Fields(0).Value().Text();
    rs.reset();
    QStringList expected;
    for (const auto& [table, columns] : ExpectedTables()) {
        expected << table;
        EXPECT_EQ(schema.Columns(table), columns) << table.toStdString();
    }
    expected.sort();
    EXPECT_EQ(shipped, expected);
    EXPECT_EQ(SchemaProblem(schema, "orvendale.db3"), "");
}

TEST_F(DatabaseTest, AFileThatIsNotTheProgramsDatabaseIsRefusedOnceAndLeftAsItWas)
{
    struct Case {
        const char* setUp;   // run on a fresh copy of the schema; null for an empty file
        const char* cause;
    };
    const Case cases[] = {
        {nullptr, "Il file orvendale.db3 è vuoto o non contiene le tabelle di Gestione Verbanto."},
        {"drop table Pagamenti", "Il file orvendale.db3 non è un database di Gestione Verbanto: manca la tabella Pagamenti."},
        {"create table settings (chiave text, valore text)",
         "Il file orvendale.db3 non è un database di Gestione Verbanto: nella tabella settings manca la colonna mnemocode."},
        {"alter table AssegniEmessi drop column Importo",
         "Il file orvendale.db3 non è un database di Gestione Verbanto: nella tabella AssegniEmessi manca la colonna Importo."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cause);
        gSqlLiteDb.reset();
        platform::Script::Clear();
        if (c.setUp) {
            QFile::remove(DbFile());
            ASSERT_TRUE(platform::CreateDatabaseFile(DbFile(), platform::ReadTextFile(VERBANTO_SCHEMA), nullptr));
            Sql(c.setUp);
        } else {
            QFile f(DbFile());
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        }
        const QByteArray before = FileBytes(DbFile());
        gDbType = "SqlLite";
        OpenDb();
        OpenDb();
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0].prompt, QString("Impossibile connettersi al database\r\n\r\n") + c.cause);
        EXPECT_EQ(Messages()[0].style, 16);
        EXPECT_TRUE(DatabaseUnavailable());
        EXPECT_EQ(FileBytes(DbFile()), before);
        EXPECT_EQ(QDir(Folder()).entryList(QDir::Files), QStringList{"orvendale.db3"});
    }
}

TEST_F(DatabaseTest, AReadOnlyDatabaseSaysSoOnceAndEverySaveReportsItsRefusal)
{
    OpenProgramDb();   // the settings are there
    gSqlLiteDb.reset();
    gNumAggiornamenti = 0;
    QFile nuovi(Folder() + "/nuovireport.sql");
    ASSERT_TRUE(nuovi.open(QIODevice::WriteOnly));
    nuovi.write("insert into reportistica (titolo) values ('Uno')\r\n");
    nuovi.close();
    const QByteArray before = FileBytes(DbFile());

    platform::SqlLiteConnection::OpenFilesReadOnly(true);
    OpenProgramDb();
    AggiornaReportistica();
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].prompt,
              "Il database orvendale.db3 è in sola lettura: i dati si possono consultare, ma le modifiche non verranno salvate.");
    EXPECT_EQ(Messages()[0].style, 48);
    EXPECT_TRUE(DatabaseReadOnly());
    EXPECT_FALSE(DatabaseUnavailable());
    EXPECT_EQ(getSetting("ORIZTEMP"), "30");
    // The in-memory table of the reminders stays writable.
    EXPECT_TRUE(gDbExecute("insert into memodb.eventi values (1, '2024-01-01')"));
    EXPECT_EQ(Messages().size(), 1u);

    EXPECT_FALSE(gDbExecute("update settings set value = '9' where mnemocode = 'ORIZTEMP'"));
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[1].prompt, "Error 8 (attempt to write a readonly database) in procedure gDbExecute of Modulo basGeneral");
    EXPECT_EQ(FileBytes(DbFile()), before);
}

TEST_F(DatabaseTest, AReadOnlyDatabaseThatNeedsItsSettingsIsRefused)
{
    const QByteArray before = FileBytes(DbFile());
    platform::SqlLiteConnection::OpenFilesReadOnly(true);
    gDbType = "SqlLite";
    OpenDb();
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].prompt, "Impossibile connettersi al database\r\n\r\n"
                                    "Il file orvendale.db3 è in sola lettura e non può essere preparato per il primo uso.");
    EXPECT_TRUE(DatabaseUnavailable());
    EXPECT_EQ(FileBytes(DbFile()), before);
}
