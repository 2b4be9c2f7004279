// The stored-report chooser: buttons from reportistica, parameters by kind into the markers,
// the chosen report's rows in the result grid.
#include "harness/TestEnv.h"
#include "mainwindow/frmSplashReports.h"
#include "platform/FlexGrid.h"
#include "shared/basGeneral.h"
#include "shared/basPrintPreview.h"

using namespace verbanto;
using platform::Script::AnswerInputBox;
using platform::Script::Of;

namespace {

class SplashReportsTest : public VerbantoTest {
protected:
    void SetUp() override
    {
        VerbantoTest::SetUp();
        OpenProgramDb();
        gTrapErrors = true;
        gSqlEventi = QStringLiteral(" 'scadenze' as Prossime");
    }

    // A stored report; the texts are SQL literals (or null).
    void Report(int ordine, const QString& sql, const QString& title, int parameters = 0, const QString& kind1 = QStringLiteral("null"),
                const QString& kind2 = QStringLiteral("null"))
    {
        QString quoted = sql;
        quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
        Sql(QStringLiteral("insert into reportistica values ('") + quoted + QStringLiteral("', '") + title + QStringLiteral("', ") +
            QString::number(parameters) + QStringLiteral(", ") + kind1 + QStringLiteral(", ") + kind2 +
            QStringLiteral(", 'il mese (MM/AAAA)', 'il valore', ") + QString::number(ordine) + QStringLiteral(")"));
    }

    void Open(std::function<void(frmSplashReports&)> driver)
    {
        ExpectModal<frmSplashReports>(std::move(driver));
        platform::Forms::Instance<frmSplashReports>().Show(platform::vbModal);
    }

    // Clicks a report's button; the grid that opens hands its first data row to the check.
    void Run(frmSplashReports& s, int index, std::function<void(frmReportistica&)> check)
    {
        ExpectModal<frmReportistica>(std::move(check));
        s.cmdShowReport[index]->PerformClick();
    }
    // Clicks a report's button expecting no grid.
    static void RunWithoutGrid(frmSplashReports& s, int index) { s.cmdShowReport[index]->PerformClick(); }

    static QStringList Row(const platform::FlexGrid& g, int r)
    {
        QStringList out;
        for (int c = 0; c < g.Cols(); ++c)
            out << g.TextMatrix(r, c);
        return out;
    }
    static QString Inputs()
    {
        QStringList out;
        for (const auto& s : Of(QStringLiteral("inputbox")))
            out << s.prompt + QStringLiteral(" / ") + s.title;
        return out.join(QStringLiteral("\n"));
    }
};

const char* const kDates = "select '[P1]' as Inizio, '[P1+1M]' as Mese, '[P1+1A]' as Anno";

} // namespace

TEST_F(SplashReportsTest, ButtonsFollowTheStoredOrderAndEmptySlotsStayHidden)
{
    Report(3, QStringLiteral("select 3 as Terzo"), QStringLiteral("Terzo"));
    Report(1, QStringLiteral("select 1 as Primo"), QStringLiteral("Primo"));
    Report(2, QString(), QStringLiteral("Vuoto"));
    Open([](frmSplashReports& s) {
        EXPECT_EQ(s.Caption(), QStringLiteral("Scegli Report"));
        EXPECT_TRUE(s.cmdShowReport[0]->Visible());
        EXPECT_EQ(s.cmdShowReport[0]->Caption(), QStringLiteral("Primo"));
        EXPECT_FALSE(s.cmdShowReport[1]->Visible());
        EXPECT_TRUE(s.cmdShowReport[2]->Visible());
        EXPECT_EQ(s.cmdShowReport[2]->Caption(), QStringLiteral("Terzo"));
        for (int i = 3; i < frmSplashReports::Buttons; ++i)
            EXPECT_FALSE(s.cmdShowReport[i]->Visible()) << i;
        s.cmdClose->PerformClick();
        EXPECT_FALSE(s.Loaded());
    });
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SplashReportsTest, SeventeenButtonsAtMostAndThirtySixReportsInMemory)
{
    for (int i = 0; i < 37; ++i)
        Report(i, QStringLiteral("select ") + QString::number(i) + QStringLiteral(" as N"), QStringLiteral("R") + QString::number(i));
    Open([&](frmSplashReports& s) {
        EXPECT_TRUE(s.cmdShowReport[16]->Visible());
        EXPECT_EQ(s.cmdShowReport[16]->Caption(), QStringLiteral("R16"));
        EXPECT_EQ(gArrayReport[35].titolo.Text(), QStringLiteral("R35"));
        EXPECT_EQ(s.FindControl(QStringLiteral("cmdShowReport"), 17), nullptr);
    });
    EXPECT_EQ(LastMessage(), QStringLiteral("Error 9 (Subscript out of range) in procedure PopolaArrayReport of Form frmSplashReports"));
    EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(SplashReportsTest, TheGridShowsTheChosenReportWithItsTitle)
{
    Sql(QStringLiteral("insert into anagrafica (anagraficaid, cognome, nome) values (1, 'Rossi', 'Mario')"));
    Sql(QStringLiteral("insert into anagrafica (anagraficaid, cognome, nome) values (2, 'Bianchi', 'Anna')"));
    Report(1, QStringLiteral("SELECT cognome as CognomeContatto, 1000.5 as Importo from anagrafica order by cognome"),
           QStringLiteral("Contatti e importi"));
    Open([&](frmSplashReports& s) {
        Run(s, 0, [](frmReportistica& g) {
            EXPECT_EQ(g.Caption(), QStringLiteral("Gestione Verbanto 1.0 - Contatti e importi"));
            const auto& grid = *g.MSFlexGrid1;
            EXPECT_EQ(Row(grid, 0), QStringList({"Cognome Contatto", "Importo"}));
            EXPECT_EQ(Row(grid, 1), QStringList({"Bianchi", "1.000,50 €"}));
            EXPECT_EQ(Row(grid, 2), QStringList({"Rossi", "1.000,50 €"}));
            EXPECT_EQ(g.lblTotaleImporti->Caption(), QStringLiteral("Importo complessivo degli importi visualizzati: 2.001,00 €"));
            g.cmdPrintGrid->PerformClick();
            EXPECT_TRUE(Of(QStringLiteral("preview")).at(0).prompt.contains(QStringLiteral("Gestione Verbanto - Contatti e importi")));
            g.cmdClose->PerformClick();
        });
        // The upcoming deadlines still open as before.
        ExpectModal<frmReportistica>([](frmReportistica& g) {
            EXPECT_EQ(g.Caption(), QStringLiteral("Gestione Verbanto 1.0 - Prossime scadenze"));
            EXPECT_EQ(g.MSFlexGrid1->TextMatrix(1, 0), QStringLiteral("scadenze"));
        });
        platform::Forms::Instance<frmReportistica>().Show(platform::vbModal);
    });
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SplashReportsTest, AMonthGivesItsFirstDayAMonthLaterAndAYearLater)
{
    Report(1, QString::fromLatin1(kDates), QStringLiteral("Mensile"), 1, QStringLiteral("'DATAMESE'"));
    Open([&](frmSplashReports& s) {
        AnswerInputBox(QStringLiteral(" 03/2024 "));
        Run(s, 0, [](frmReportistica& g) {
            EXPECT_EQ(Row(*g.MSFlexGrid1, 1),
                      QStringList({"2024-03-01 00:00:00", "2024-04-01 00:00:00", "2025-03-01 00:00:00"}));
        });
        EXPECT_EQ(Inputs(), QStringLiteral("Inserisci il mese (MM/AAAA) / Gestione Verbanto"));
        // The markers are back for the next run.
        EXPECT_EQ(gArrayReport[0].sqlreport.Text(), QString::fromLatin1(kDates));

        // A thirteenth month is refused; the next try asks again and is put in.
        AnswerInputBox(QStringLiteral("13/2024"));
        RunWithoutGrid(s, 0);
        EXPECT_EQ(LastMessage(), QStringLiteral("Formato del mese non valido"));
        EXPECT_EQ(Messages().back().style, 48);
        AnswerInputBox(QStringLiteral("12/2024"));
        Run(s, 0, [](frmReportistica& g) {
            EXPECT_EQ(Row(*g.MSFlexGrid1, 1),
                      QStringList({"2024-12-01 00:00:00", "2025-01-01 00:00:00", "2025-12-01 00:00:00"}));
        });
    });
}

TEST_F(SplashReportsTest, TwoDatesOfARange)
{
    Report(1, QStringLiteral("select '[P1]' as Da, '[P1ARR]' as A"), QStringLiteral("Periodo"), 1, QStringLiteral("'DUEDATEPRECISE'"));
    Open([&](frmSplashReports& s) {
        AnswerInputBox(QStringLiteral("01/02/2024"));
        AnswerInputBox(QStringLiteral("29/02/2024"));
        Run(s, 0, [](frmReportistica& g) {
            EXPECT_EQ(Row(*g.MSFlexGrid1, 1), QStringList({"2024-02-01 00:00:00", "2024-02-29 00:00:00"}));
        });
        EXPECT_EQ(Inputs(), QStringLiteral("Inserisci la data di partenza (GG/MM/AAAA) / Gestione Verbanto\n"
                                           "Inserisci la data di arrivo (GG/MM/AAAA) / Gestione Verbanto"));
        AnswerInputBox(QStringLiteral("01/02/2024"));
        AnswerInputBox(QStringLiteral("30/02/2024"));
        RunWithoutGrid(s, 0);
        EXPECT_EQ(LastMessage(), QStringLiteral("Formato data non valida"));
        // A cancelled question ends silently.
        AnswerInputBox(QString());
        RunWithoutGrid(s, 0);
        EXPECT_EQ(Messages().size(), 1u);
    });
}

TEST_F(SplashReportsTest, TextAndNumberParameters)
{
    Report(1, QStringLiteral("select '[P1]' as Nome, [P2] * 2 as Doppio"), QStringLiteral("Testo e numero"), 2,
           QStringLiteral("'STRINGA'"), QStringLiteral("'NUMERICO'"));
    Report(2, QStringLiteral("select [P1] as N, '[P2]' as Giorno"), QStringLiteral("Numero e data"), 2, QStringLiteral("'NUMERICO'"),
           QStringLiteral("'DATAPRECISA'"));
    Open([&](frmSplashReports& s) {
        AnswerInputBox(QStringLiteral("O'Brien "));
        AnswerInputBox(QStringLiteral("12,5"));
        Run(s, 0, [](frmReportistica& g) { EXPECT_EQ(Row(*g.MSFlexGrid1, 1), QStringList({"O'Brien ", "25"})); });
        EXPECT_EQ(Inputs(), QStringLiteral("Inserisci il mese (MM/AAAA) / Gestione Verbanto\nInserisci il valore / Gestione Verbanto"));

        AnswerInputBox(QStringLiteral("dieci"));
        RunWithoutGrid(s, 1);
        EXPECT_EQ(LastMessage(), QStringLiteral("Formato numerico non valido"));
        AnswerInputBox(QStringLiteral("10"));
        AnswerInputBox(QStringLiteral("31/04/2024"));
        RunWithoutGrid(s, 1);
        EXPECT_EQ(LastMessage(), QStringLiteral("Formato della data non valido"));
        AnswerInputBox(QStringLiteral("10"));
        AnswerInputBox(QStringLiteral("30/04/2024"));
        Run(s, 1, [](frmReportistica& g) { EXPECT_EQ(Row(*g.MSFlexGrid1, 1), QStringList({"10", "2024-04-30 00:00:00"})); });
    });
}

TEST_F(SplashReportsTest, AnUnknownKindAsksNothingAndANumberThatIsNoneIsReported)
{
    Report(1, QStringLiteral("select '[P1]' as Segnaposto"), QStringLiteral("Sconosciuto"), 1, QStringLiteral("'BOH'"));
    Sql(QStringLiteral("insert into reportistica (sqlreport, titolo, numparametri, ordine) values ('select 1 as Uno', 'Rotto', 'due', 2)"));
    Open([&](frmSplashReports& s) {
        Run(s, 0, [](frmReportistica& g) { EXPECT_EQ(g.MSFlexGrid1->TextMatrix(1, 0), QStringLiteral("[P1]")); });
        EXPECT_TRUE(Of(QStringLiteral("inputbox")).empty());
        RunWithoutGrid(s, 1);
        EXPECT_EQ(LastMessage(), QStringLiteral("Error 13 (Type mismatch) in procedure cmdShowReport_Click of Form frmSplashReports"));
    });
}

TEST(SplashReportsText, TheQueryAfterSelect)
{
    EXPECT_EQ(frmSplashReports::TextAfterSelect(QStringLiteral("SELECT a from b")), QStringLiteral(" a from b"));
    EXPECT_EQ(frmSplashReports::TextAfterSelect(QStringLiteral("  select\ta")), QStringLiteral("\ta"));
    EXPECT_EQ(frmSplashReports::TextAfterSelect(QStringLiteral(" a, b from c")), QStringLiteral(" a, b from c"));
    EXPECT_EQ(frmSplashReports::TextAfterSelect(QStringLiteral("selection from c")), QStringLiteral(" selection from c"));
}
