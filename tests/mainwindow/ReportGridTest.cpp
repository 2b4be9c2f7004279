// The result grid: any query's rows, with amounts, hidden ids, date sort, print and CSV.
#include "harness/TestEnv.h"
#include "mainwindow/OccurrenceEngine.h"
#include "mainwindow/frmReportistica.h"
#include "platform/FlexGrid.h"
#include "shared/basGeneral.h"
#include "shared/basGeneralCustom.h"
#include "shared/basPrintPreview.h"
#include <QFile>

using namespace verbanto;
using platform::Script::Of;

namespace {

class ReportGridTest : public VerbantoTest {
protected:
    void SetUp() override
    {
        VerbantoTest::SetUp();
        OpenProgramDb();
        gTrapErrors = true;
        gDbExecute(QStringLiteral("insert into anagrafica (anagraficaid, cognome, nome) values (5, 'Bianchi', 'Anna')"));
        SetEngineClock([] { return QDate(2024, 2, 25); });
    }
    void TearDown() override
    {
        SetEngineClock({});
        VerbantoTest::TearDown();
    }

    // Opens the grid as the main window does and lets the driver play the user on it.
    void Open(std::function<void(frmReportistica&)> driver)
    {
        gSqlEventi = getSetting(QStringLiteral("SQLEVENTI"));
        ExpectModal<frmReportistica>(std::move(driver));
        platform::Forms::Instance<frmReportistica>().Show(platform::vbModal);
    }

    static QStringList Column(const platform::FlexGrid& g, int col)
    {
        QStringList out;
        for (int r = 1; r < g.Rows(); ++r)
            out << g.TextMatrix(r, col);
        return out;
    }

    // Amounts, a hidden id, a lower-case "importo" that is no amount, and a Null amount.
    static QString AmountsQuery()
    {
        return QStringLiteral(" Importo, ANAGRAFICAID, piccolo as importo, Nota from ("
                              "select 1234.5 as Importo, 7 as ANAGRAFICAID, 5 as piccolo, 'prima' as Nota "
                              "union all select 10, 8, 6, 'seconda' union all select null, 9, 7, 'terza')");
    }
};

TEST_F(ReportGridTest, NoOccurrencesShowsZeroRecords)
{
    Open([](frmReportistica& f) {
        EXPECT_EQ(f.Caption(), QStringLiteral("Gestione Verbanto 1.0 - Prossime scadenze"));
        const auto& g = *f.MSFlexGrid1;
        EXPECT_EQ(g.Rows(), 1);
        EXPECT_EQ(g.TextMatrix(0, 0), QStringLiteral("0 Records"));
        EXPECT_EQ(g.ColWidth(0), 1000);
        EXPECT_FALSE(f.lblTotaleImporti->Visible());
    });
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ReportGridTest, UpcomingDeadlinesNewestFirstThenSortedByDateFromTheHeader)
{
    gDbExecute(QStringLiteral("insert into pagamenti (anagraficaid, datapagamento, importo, causale, notepagamento) "
                              "values (5, '2024-02-01 00:00:00', 3, 'Affitto', 'bonifico')"));
    gDbExecute(QStringLiteral("insert into pagamenti (anagraficaid, datapagamento, importo, causale, notepagamento) "
                              "values (5, '2023-03-10 00:00:00', 4, 'Bollo', null)"));
    RefreshUpcomingDeadlines();   // 1 March, 10 March
    Open([&](frmReportistica& f) {
        auto& g = *f.MSFlexGrid1;
        ASSERT_EQ(g.Cols(), 5);
        const QStringList headers = {QStringLiteral("Data Scadenza"), QStringLiteral("Descrizione Scadenza"), QStringLiteral("Note Scadenza"),
                                     QStringLiteral("Cognome Contatto"), QStringLiteral("Nome Contatto")};
        for (int c = 0; c < 5; ++c) {
            EXPECT_EQ(g.TextMatrix(0, c), headers[c]);
            EXPECT_GT(g.ColWidth(c), 0);
        }
        EXPECT_EQ(Column(g, 0), QStringList({QStringLiteral("2024-03-10 00:00:00"), QStringLiteral("2024-03-01 00:00:00")}));
        EXPECT_EQ(Column(g, 1), QStringList({QStringLiteral("Bollo"), QStringLiteral("Affitto")}));
        EXPECT_EQ(g.TextMatrix(1, 2), QString());
        EXPECT_EQ(g.TextMatrix(2, 3), QStringLiteral("Bianchi"));
        EXPECT_FALSE(f.lblTotaleImporti->Visible());

        g.UserClickHeader(0);
        EXPECT_EQ(g.TextMatrix(1, 0), QStringLiteral("2024-03-01 00:00:00"));
        g.UserClickHeader(0);
        EXPECT_EQ(g.TextMatrix(1, 0), QStringLiteral("2024-03-10 00:00:00"));
        // Nothing opens on a double click or the Delete key.
        g.UserDoubleClickCell(1, 1);
        g.UserPressKey(platform::vbKeyDelete);
        EXPECT_EQ(g.Rows(), 3);
    });
}

TEST_F(ReportGridTest, AmountsInItalianFormatWithTheirTotal)
{
    Open([&](frmReportistica& f) {
        f.FillGrid(platform::Variant(AmountsQuery()));
        auto& g = *f.MSFlexGrid1;
        ASSERT_EQ(g.Rows(), 4);
        EXPECT_EQ(g.TextMatrix(0, 0), QStringLiteral("Importo"));
        EXPECT_EQ(Column(g, 0), QStringList({QStringLiteral("1.234,50 €"), QStringLiteral("10,00 €"), QString()}));
        // An id column keeps its header, its cells and its place, out of sight.
        EXPECT_EQ(g.TextMatrix(0, 1), QStringLiteral("ANAGRAFICAID"));
        EXPECT_EQ(g.TextMatrix(1, 1), QStringLiteral("7"));
        EXPECT_EQ(g.ColWidth(1), 0);
        // "importo" in lower case is no amount.
        EXPECT_EQ(g.TextMatrix(0, 2), QStringLiteral("importo"));
        EXPECT_EQ(g.TextMatrix(1, 2), QStringLiteral("5"));
        EXPECT_GT(g.ColWidth(2), 0);
        EXPECT_TRUE(f.lblTotaleImporti->Visible());
        EXPECT_EQ(f.lblTotaleImporti->Caption(), QStringLiteral("Importo complessivo degli importi visualizzati: 1.244,50 €"));

        // Printed with its subtitle and its total; no column is left out by number.
        f.cmdPrintGrid->PerformClick();
        EXPECT_EQ(gNoPrintColumns[1], -1);
        const auto previews = Of(QStringLiteral("preview"));
        ASSERT_EQ(previews.size(), 1u);
        EXPECT_TRUE(previews[0].prompt.contains(QStringLiteral("Gestione Verbanto - Prossime scadenze")));
        EXPECT_TRUE(previews[0].prompt.contains(QStringLiteral("1.244,50")));

        // The CSV keeps the hidden id column: only "IDFIELD" headers are skipped there.
        const QString csv = Folder() + QStringLiteral("/scadenze.csv");
        platform::Script::AnswerSaveDialog(csv);
        f.cmdEsportaDati->PerformClick();
        QFile file(csv);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        EXPECT_TRUE(text.startsWith("\"Importo\";\"ANAGRAFICAID\";\"importo\";\"Nota\"\r\n")) << text.toStdString();
        EXPECT_TRUE(text.contains("\"7\";\"5\";\"prima\"")) << text.toStdString();
    });
}

TEST_F(ReportGridTest, HeadersOfUnusualColumns)
{
    Open([&](frmReportistica& f) {
        f.FillGrid(platform::Variant(QStringLiteral(" count(*) as \"\", 3 as Expr1001, 'x' as AssegnoNoteExtra, 1 as SuPiazza, "
                                                    "0 as Sbarrato, 'y' as DataUltimaModifica from anagrafica")));
        const auto& g = *f.MSFlexGrid1;
        ASSERT_EQ(g.Cols(), 6);
        EXPECT_EQ(g.TextMatrix(0, 0), QStringLiteral("count(*)"));
        EXPECT_EQ(g.TextMatrix(1, 0), QStringLiteral("1"));
        EXPECT_EQ(g.TextMatrix(0, 1), QStringLiteral("Count"));
        EXPECT_EQ(g.TextMatrix(0, 2), QStringLiteral("Note"));
        EXPECT_EQ(g.TextMatrix(1, 3), QStringLiteral("Vero"));
        EXPECT_EQ(g.TextMatrix(1, 4), QStringLiteral("Falso"));
        EXPECT_EQ(g.TextMatrix(0, 5), QStringLiteral("Data Ultima Modifica"));
        EXPECT_FALSE(f.lblTotaleImporti->Visible());
    });
}

TEST_F(ReportGridTest, ARefusedQueryGivesOneReportOfTheFillAndAnEmptyList)
{
    Open([&](frmReportistica& f) {
        const size_t before = Of(QStringLiteral("msgbox")).size();
        f.FillGrid(platform::Variant(QStringLiteral(" * from tabella_che_non_esiste")));
        const auto shown = Of(QStringLiteral("msgbox"));
        ASSERT_GT(shown.size(), before);
        EXPECT_TRUE(shown.back().prompt.endsWith(QStringLiteral("in procedure FillGrid of Form frmReportistica")))
            << shown.back().prompt.toStdString();
        EXPECT_EQ(f.MSFlexGrid1->Rows(), 1);
        EXPECT_FALSE(f.lblTotaleImporti->Visible());
    });
}

TEST_F(ReportGridTest, WithoutErrorTrappingTheLoadReports)
{
    gTrapErrors = false;
    gDbExecute(QStringLiteral("update settings set value=' * from tabella_che_non_esiste' where mnemocode='SQLEVENTI'"));
    Open([](frmReportistica&) {});
    ASSERT_FALSE(Messages().empty());
    EXPECT_TRUE(LastMessage().endsWith(QStringLiteral("in procedure Form_Load of Form frmReportistica"))) << LastMessage().toStdString();
}

TEST_F(ReportGridTest, EsciReleasesTheWindowTheCloseBoxKeepsItsSortDirection)
{
    gDbExecute(QStringLiteral("insert into pagamenti (anagraficaid, datapagamento, importo, causale) values (5, '2024-01-01 00:00:00', 1, 'x')"));
    RefreshUpcomingDeadlines();
    Open([](frmReportistica& f) { f.MSFlexGrid1->UserClickHeader(1); });   // closed by the close box
    ASSERT_TRUE(platform::Forms::Exists<frmReportistica>());
    EXPECT_FALSE(platform::Forms::Instance<frmReportistica>().SortAscendingNext());
    Open([](frmReportistica& f) {
        EXPECT_FALSE(f.SortAscendingNext());
        f.cmdClose->PerformClick();
    });
    EXPECT_FALSE(platform::Forms::Exists<frmReportistica>());
}

} // namespace
