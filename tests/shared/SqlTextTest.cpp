// SQL text and value functions: quoting, IN lists, dates, codes, existence.
#include "harness/TestEnv.h"
#include "shared/basGeneral.h"
#include "shared/basGeneralCustom.h"
#include "shared/basRegistering.h"

using namespace verbanto;
using platform::Variant;

class SqlTextTest : public VerbantoTest {};

TEST_F(SqlTextTest, QuotingKeepsEveryTextIntact)
{
    EXPECT_EQ(Pad("l'arco"), "l''arco");
    EXPECT_EQ(Pad(""), "");
    EXPECT_EQ(StringReplace("aXbxc", "x", "-"), "a-b-c");
    EXPECT_EQ(StringReplace("aa", "a", "aa"), "aaaa");   // the replacement is not searched again

    OpenProgramDb();
    const QString big = QString(100 * 1024, QChar(u'è')) + "''\"; DROP TABLE x; -- 😀";
    for (const QString& text : {QString("O'Brien d'Aosta"), QString("Città àèìòù €"), QString("😀 emoji"), big}) {
        gDbExecute("delete from TipologiaPersone");
        gDbExecute("insert into TipologiaPersone (Tipologia) values ('" + Pad(text) + "')");
        EXPECT_EQ(Scalar("select Tipologia from TipologiaPersone"), text);
        EXPECT_TRUE(esisteRecord("TipologiaPersone", "Tipologia", text, "S"));
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SqlTextTest, PutTicksInMakesAnInList)
{
    QString a = "rossi,bianchi";
    EXPECT_EQ(PutTicksIn(a), "'rossi', 'bianchi'");
    EXPECT_EQ(a, "'rossi', 'bianchi'");
    QString b = "rossi, bianchi";
    EXPECT_EQ(PutTicksIn(b), "'rossi', 'bianchi'");
    QString c = "a";
    EXPECT_EQ(PutTicksIn(c), "'a'");
    QString d = "";
    EXPECT_EQ(PutTicksIn(d), "''");
}

TEST_F(SqlTextTest, FormattaDataWritesStoredDateText)
{
    EXPECT_EQ(FormattaData(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58))), "2026-12-31 23:59:58");
    EXPECT_EQ(FormattaData(QDate(2024, 2, 29)), "2024-02-29 00:00:00");
    EXPECT_EQ(FormattaData(Variant("05/01/2027")), "2027-01-05 00:00:00");
    EXPECT_EQ(FormattaData(Variant("2027-01-05 10:11:12")), "2027-01-05 10:11:12");
    EXPECT_EQ(FormattaData(Variant("31/02/2027")), "");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].prompt, "Error 13 (Type mismatch) in procedure FormattaData of Modulo basRegistering");
    EXPECT_EQ(FormattaData(Variant()), "");
    EXPECT_EQ(Messages().back().prompt, "Error 94 (Invalid use of Null) in procedure FormattaData of Modulo basRegistering");
}

TEST_F(SqlTextTest, ValueHelpers)
{
    EXPECT_EQ(Punto(Variant("1.234,50")), "1.234.50");
    EXPECT_EQ(concatSql("b.cognome", "' '", "b.nome"), " (ifnull(b.cognome,'') || ifnull(' ','') || ifnull(b.nome,'')) ");
    EXPECT_EQ(BooleanToString(Variant(-1)), "Vero");
    EXPECT_EQ(BooleanToString(Variant(0)), "Falso");
    EXPECT_EQ(wrapbooleanchk(Variant(1)), "True");
    EXPECT_EQ(wrapbooleanchk(Variant(2)), "False");
    EXPECT_EQ(wrapbooleanchk(Variant()), "False");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(BooleanToString(Variant("abc")), "");
    EXPECT_EQ(Messages().back().prompt, "Error 13 (Type mismatch) in procedure BooleanToString of Modulo basRegistering");
}

TEST_F(SqlTextTest, CheckAbiCab)
{
    EXPECT_EQ(checkABICAB("1234", "di avviamento postale"), "Lunghezza del codice di avviamento postale non valida");
    EXPECT_EQ(checkABICAB("12a45", "ABI"), "Il codice ABI contiene caratteri non validi");
    EXPECT_EQ(checkABICAB("01234", "ABI"), "");
    EXPECT_EQ(checkABICAB("１２３４５", "ABI"), "Il codice ABI contiene caratteri non validi");
}

TEST_F(SqlTextTest, EsisteRecordWithNumbersAndExclusion)
{
    OpenProgramDb();
    gDbExecute("insert into TipologiaPersone (TIPOLOGIAID, Tipologia) values (5, 'Cliente')");
    EXPECT_TRUE(esisteRecord("TipologiaPersone", "TIPOLOGIAID", "5", "N"));
    EXPECT_FALSE(esisteRecord("TipologiaPersone", "TIPOLOGIAID", "6", "N"));
    EXPECT_FALSE(esisteRecord("TipologiaPersone", "Tipologia", "Cliente", "S", "TIPOLOGIAID", "5"));
    EXPECT_TRUE(esisteRecord("TipologiaPersone", "Tipologia", "Cliente", "S", "TIPOLOGIAID", "7"));
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(esisteRecord("NoTable", "x", "1", "N"));
    ASSERT_EQ(Messages().size(), 2u);   // the query's own report, then the caller's
    EXPECT_TRUE(Messages()[0].prompt.contains("of Modulo basGeneral"));
    EXPECT_TRUE(Messages()[1].prompt.endsWith("in procedure esisteRecord of Modulo basGeneralCustom"));
}
