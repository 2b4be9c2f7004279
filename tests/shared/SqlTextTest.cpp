// SQL text and value functions: quoting, IN lists, dates, codes, existence.
#include "harness/TestEnv.h"
#include "shared/SqlLiteral.h"
#include "shared/basGeneral.h"
#include "shared/basGeneralCustom.h"
#include "shared/basRegistering.h"
#include <QDateTime>
#include <cmath>

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

TEST_F(SqlTextTest, FormattaDataWritesEveryDayOfEveryTimeZone)
{
    // Chile moved its clocks from 00:00 to 01:00 on 8 September 2024: that day has no midnight.
    UseTimeZone("America/Santiago");
    ASSERT_FALSE(QDateTime(QDate(2024, 9, 8), QTime(0, 0)).isValid()) << "the time zone has no gap here";
    EXPECT_EQ(FormattaData(QDate(2024, 9, 8)), "2024-09-08 00:00:00");
    EXPECT_EQ(FormattaData(Variant("08/09/2024")), "2024-09-08 00:00:00");
    EXPECT_EQ(FormattaData(Variant("2024-09-08 00:00:00")), "2024-09-08 00:00:00");
    EXPECT_EQ(FormattaData(Variant(45543.0)), "2024-09-08 00:00:00");   // the day's serial
    EXPECT_TRUE(Messages().empty()) << LastMessage().toStdString();
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

TEST_F(SqlTextTest, LiteralsForTextsDatesAndNull)
{
    const QString nul(QChar(u'\0'));
    EXPECT_EQ(SqlText("l'arco"), "'l''arco'");
    EXPECT_EQ(SqlText(""), "''");
    EXPECT_EQ(SqlTextOrNull(""), "Null");
    EXPECT_EQ(SqlTextOrNull(nul), "Null");
    EXPECT_EQ(SqlTextOrNull("a" + nul + "b'"), "'ab'''");
    EXPECT_EQ(Pad("d'" + nul + "Aosta" + nul), "d''Aosta");
    EXPECT_EQ(SqlDate(QDate(2024, 2, 29)), "'2024-02-29 00:00:00'");
    EXPECT_EQ(SqlDate(QDate()), "Null");
    EXPECT_EQ(SqlDateTime(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58))), "'2026-12-31 23:59:58'");
    EXPECT_EQ(SqlNull(), "Null");

    // A NUL never cuts a statement short: the text is stored without it.
    OpenProgramDb();
    const QString typed = "Città" + nul + " d'Aosta" + nul + nul + "!";
    EXPECT_TRUE(gDbExecute("insert into TipologiaPersone (Tipologia) values (" + SqlText(typed) + ")"));
    EXPECT_EQ(Scalar("select Tipologia from TipologiaPersone"), "Città d'Aosta!");
    EXPECT_TRUE(esisteRecord("TipologiaPersone", "Tipologia", typed, "S"));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SqlTextTest, NumbersAreWrittenInTheFewestDigitsThatKeepTheirValue)
{
    EXPECT_EQ(SqlNumber(0), "0");
    EXPECT_EQ(SqlNumber(-0.0), "0");
    EXPECT_EQ(SqlNumber(-7), "-7");
    EXPECT_EQ(SqlNumber(0.1), "0.1");
    EXPECT_EQ(SqlNumber(1234.5), "1234.5");
    EXPECT_EQ(SqlNumber(1234567890123456.0), "1234567890123456");
    EXPECT_EQ(SqlNumber(9007199254740993.0), "9007199254740992");   // the nearest double
    EXPECT_EQ(SqlNumber(1e20), "100000000000000000000");
    EXPECT_EQ(SqlNumber(1e-7), "0.0000001");
    EXPECT_EQ(SqlNumber(std::nan("")), "Null");
    EXPECT_EQ(Punto(Variant(1234567890123456.0)), "1234567890123456");
    EXPECT_EQ(Punto(Variant(0.1 + 0.2)), "0.30000000000000004");

    // What is written is what is read back, to the last bit.
    OpenProgramDb();
    const double values[] = {1234567890123456.0, 1234567890123.45, 0.1, 0.1 + 0.2, 12345678.9, -98765.4321,
                             1e-7, 123456789012345678.0, 1.7976931348623157e308, 2.2250738585072014e-308, 1234.5};
    for (double v : values) {
        ASSERT_TRUE(gDbExecute("delete from AssegniEmessi"));
        ASSERT_TRUE(gDbExecute("insert into AssegniEmessi (Importo) values (" + SqlNumber(v) + ")"));
        ASSERT_TRUE(gRsOpen("select Importo from AssegniEmessi"));
        EXPECT_EQ(gRs->Fields(0).Value().CDbl(), v) << SqlNumber(v).toStdString();
        CloseDb();
    }
    EXPECT_TRUE(Messages().empty());
}
