// The issued-cheque list: columns, amounts and their total, marks in words, delete, print.
#include "ChequeFixture.h"
#include "cheques/frmEditAssegniEmessi.h"

using namespace verbanto;
using platform::Script::Of;

TEST_F(ChequeTest, EmptyListOpensTheEditorAtOnceAndShowsZeroRecords)
{
    ExpectModal<frmEditAssegniEmessi>([](frmEditAssegniEmessi& e) {
        EXPECT_EQ(e.Caption(), QStringLiteral("Assegni Emessi"));
        e.cmdCancel->PerformClick();
    });
    OpenCheques([](frmAssegniEmessi& f) {
        EXPECT_EQ(f.Caption(), QStringLiteral("Assegni Emessi"));
        EXPECT_EQ(f.cmdSelect->Caption(), QStringLiteral("Seleziona"));
        const auto& g = *f.MSFlexGrid1;
        EXPECT_EQ(g.Rows(), 1);
        EXPECT_EQ(g.TextMatrix(0, 0), QStringLiteral("0 Records"));
        EXPECT_EQ(g.ColWidth(0), 1000);
        EXPECT_EQ(f.lblTotaleImporti->Caption(), QStringLiteral("Importo complessivo degli assegni visualizzati: 0,00 €"));
        // Nothing to delete, nothing asked.
        f.cmdDelete->PerformClick();
    });
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ChequeTest, ColumnsAmountsMarksAndTotal)
{
    Cheque(3, 1, QStringLiteral("0012"), QStringLiteral("1000"), QStringLiteral("1, 0, 1"));
    Cheque(4, 3, QStringLiteral("0013"), QStringLiteral("234.5"), QStringLiteral("0, 1, 0"));
    Cheque(9, 1, QStringLiteral("0014"), QStringLiteral("77"));        // no such account: not listed
    Cheque(3, 8, QStringLiteral("0015"), QStringLiteral("88"));        // no such payee: not listed
    Cheque(3, 2, QStringLiteral("0016"), QStringLiteral("null"));      // no amount: adds nothing
    OpenCheques([](frmAssegniEmessi& f) {
        const auto& g = *f.MSFlexGrid1;
        EXPECT_EQ(Headers(g), QStringList({"IDFIELD", "IDFIELD", "Conto Corrente", "IDFIELD", "Beneficiario", "Numero Assegno",
                                           "Data Assegno", "Luogo Emissione", "Su Piazza", "Trasferibile", "Sbarrato", "Importo",
                                           "Causale", "Note", "Data Creazione", "Data Ultima Modifica"}));
        ASSERT_EQ(g.Rows(), 4);
        EXPECT_EQ(Column(g, 2), QStringList({"Conto casa", "Conto ufficio", "Conto casa"}));
        EXPECT_EQ(Column(g, 4), QStringList({"Rossi Mario", " Solo", "Bianchi Anna"}));
        EXPECT_EQ(Column(g, 5), QStringList({"0012", "0013", "0016"}));
        EXPECT_EQ(Column(g, 6)[0], QStringLiteral("2024-03-15 00:00:00"));
        EXPECT_EQ(Column(g, 8), QStringList({"Vero", "Falso", "Falso"}));
        EXPECT_EQ(Column(g, 9), QStringList({"Falso", "Vero", "Vero"}));
        EXPECT_EQ(Column(g, 10), QStringList({"Vero", "Falso", "Falso"}));
        EXPECT_EQ(Column(g, 11), QStringList({"1.000,00 €", "234,50 €", ""}));
        EXPECT_EQ(f.lblTotaleImporti->Caption(), QStringLiteral("Importo complessivo degli assegni visualizzati: 1.234,50 €"));
        for (int c : {0, 1, 3})
            EXPECT_EQ(g.ColWidth(c), 0) << c;
        for (int c : {2, 4, 11, 14})
            EXPECT_GE(g.ColWidth(c), 600) << c;
        EXPECT_EQ(g.Row(), 0);
    });
}

TEST_F(ChequeTest, PrintLeavesOutIdsAndTimestampsAndAddsTheTotal)
{
    Cheque(3, 1, QStringLiteral("0012"), QStringLiteral("1000"));
    OpenCheques([](frmAssegniEmessi& f) {
        f.cmdPrintGrid->PerformClick();
        const auto previews = Of(QStringLiteral("preview"));
        ASSERT_EQ(previews.size(), 1u);
        const QString page = previews[0].prompt;
        EXPECT_TRUE(page.contains(QStringLiteral("Gestione Verbanto - Assegni emessi")));
        EXPECT_TRUE(page.contains(QStringLiteral("<th>Conto Corrente</th>")));
        EXPECT_TRUE(page.contains(QStringLiteral("<td>1.000,00 €</td>")));
        EXPECT_FALSE(page.contains(QStringLiteral("Data Creazione")));
        EXPECT_FALSE(page.contains(QStringLiteral("Data Ultima Modifica")));
        EXPECT_FALSE(page.contains(QStringLiteral("IDFIELD")));
        // The total line stands under the table.
        const qsizetype total = page.indexOf(QStringLiteral("Importo complessivo degli assegni visualizzati: 1.000,00 €"));
        EXPECT_GT(total, page.indexOf(QStringLiteral("</table>")));
    });
}

TEST_F(ChequeTest, DeleteAsksThenRemovesTheChequeAndRecomputesTheTotal)
{
    Cheque(3, 1, QStringLiteral("0012"), QStringLiteral("1000"));
    Cheque(4, 2, QStringLiteral("0013"), QStringLiteral("20"));
    OpenCheques([&](frmAssegniEmessi& f) {
        auto& g = *f.MSFlexGrid1;
        // The header row current: nothing happens, nothing is asked.
        g.UserPressKey(platform::vbKeyDelete);
        EXPECT_TRUE(Messages().empty());

        g.UserClickCell(1, 4);
        platform::Script::AnswerMsgBox(platform::vbNo);
        g.UserPressKey(platform::vbKeyDelete);
        EXPECT_EQ(LastMessage(), QStringLiteral("Sei sicuro di voler eliminare il record?"));
        EXPECT_EQ(Count(QStringLiteral("AssegniEmessi")), 2);

        g.UserClickCell(1, 4);
        platform::Script::AnswerMsgBox(platform::vbYes);
        f.cmdDelete->PerformClick();
        EXPECT_EQ(Count(QStringLiteral("AssegniEmessi")), 1);
        EXPECT_EQ(Count(QStringLiteral("AssegniEmessi"), QStringLiteral("Numero = '0013'")), 1);
        EXPECT_EQ(Column(g, 5), QStringList({"0013"}));
        EXPECT_EQ(f.lblTotaleImporti->Caption(), QStringLiteral("Importo complessivo degli assegni visualizzati: 20,00 €"));

        // The last one: the grid is back to its header row.
        g.UserClickCell(1, 4);
        platform::Script::AnswerMsgBox(platform::vbYes);
        f.cmdDelete->PerformClick();
        EXPECT_EQ(g.Rows(), 1);
        EXPECT_EQ(g.TextMatrix(0, 0), QStringLiteral("0 Records"));
        EXPECT_EQ(f.lblTotaleImporti->Caption(), QStringLiteral("Importo complessivo degli assegni visualizzati: 0,00 €"));
    });
}

TEST_F(ChequeTest, WhereClauseJoinsTheListQueryAndHeaderSortsByDate)
{
    Cheque(3, 1, QStringLiteral("1"), QStringLiteral("10"), QStringLiteral("0, 1, 0"), QStringLiteral("2024-05-01 00:00:00"));
    Cheque(4, 2, QStringLiteral("2"), QStringLiteral("20"), QStringLiteral("0, 1, 0"), QStringLiteral("2023-12-31 00:00:00"));
    Cheque(3, 2, QStringLiteral("3"), QStringLiteral("30"), QStringLiteral("0, 1, 0"), QStringLiteral("2024-01-15 00:00:00"));
    gWhereAssegniEmessi = QStringLiteral("a.CONTOCORRENTEID = 3");
    OpenCheques([](frmAssegniEmessi& f) {
        auto& g = *f.MSFlexGrid1;
        EXPECT_EQ(Column(g, 5), QStringList({"1", "3"}));
        EXPECT_EQ(f.lblTotaleImporti->Caption(), QStringLiteral("Importo complessivo degli assegni visualizzati: 40,00 €"));
        gWhereAssegniEmessi.clear();
        f.FillGrid();
        EXPECT_EQ(Column(g, 5), QStringList({"1", "2", "3"}));
        g.UserClickHeader(6);
        EXPECT_EQ(Column(g, 5), QStringList({"2", "3", "1"}));
        g.UserClickHeader(6);
        EXPECT_EQ(Column(g, 5), QStringList({"1", "3", "2"}));
    });
}

TEST_F(ChequeTest, HeaderSortsAmountsByValue)
{
    Cheque(3, 1, QStringLiteral("1"), QStringLiteral("1000"));
    Cheque(4, 2, QStringLiteral("2"), QStringLiteral("234.5"));
    Cheque(3, 2, QStringLiteral("3"), QStringLiteral("null"));
    Cheque(3, 1, QStringLiteral("4"), QStringLiteral("-5"));
    Cheque(4, 1, QStringLiteral("5"), QStringLiteral("99.99"));
    OpenCheques([](frmAssegniEmessi& f) {
        auto& g = *f.MSFlexGrid1;
        g.UserClickHeader(11);
        EXPECT_EQ(Column(g, 11), QStringList({"", "-5,00 €", "99,99 €", "234,50 €", "1.000,00 €"}));
        g.UserClickHeader(11);
        EXPECT_EQ(Column(g, 11), QStringList({"1.000,00 €", "234,50 €", "99,99 €", "-5,00 €", ""}));
        // Whole rows move with their amounts.
        EXPECT_EQ(Column(g, 5), QStringList({"1", "2", "5", "4", "3"}));
        // Other text columns keep the generic sort.
        g.UserClickHeader(5);
        EXPECT_EQ(Column(g, 5), QStringList({"1", "2", "3", "4", "5"}));
    });
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ChequeTest, RowRefreshersWriteTheRawFieldsOfOneCheque)
{
    Cheque(3, 1, QStringLiteral("1"), QStringLiteral("10"));
    OpenCheques([&](frmAssegniEmessi& f) {
        auto& g = *f.MSFlexGrid1;
        // The newest cheque is appended as stored: no amount format, marks as numbers.
        Cheque(4, 2, QStringLiteral("2"), QStringLiteral("20.5"), QStringLiteral("1, 0, 1"));
        f.AddGridRow();
        EXPECT_EQ(f.mASSEGNIEMESSIID, 2);
        ASSERT_EQ(g.Rows(), 3);
        EXPECT_EQ(g.TextMatrix(2, 0), QStringLiteral("2"));
        EXPECT_EQ(g.TextMatrix(2, 4), QStringLiteral("Bianchi Anna"));
        EXPECT_EQ(g.TextMatrix(2, 8), QStringLiteral("1"));
        EXPECT_EQ(g.TextMatrix(2, 11), QStringLiteral("20.5"));
        // The current row is rewritten from the cheque in hand, its id cell left alone.
        Sql(QStringLiteral("update AssegniEmessi set Numero = '0001', ANAGRAFICAID = 3 where ASSEGNIEMESSIID = 1"));
        g.UserClickCell(1, 4);
        f.mASSEGNIEMESSIID = 1;
        f.UpdateGridRow();
        EXPECT_EQ(g.TextMatrix(1, 4), QStringLiteral(" Solo"));
        EXPECT_EQ(g.TextMatrix(1, 5), QStringLiteral("0001"));
        EXPECT_EQ(g.TextMatrix(1, 11), QStringLiteral("10"));
        EXPECT_EQ(g.TextMatrix(2, 5), QStringLiteral("2"));
    });
    EXPECT_TRUE(Messages().empty()) << LastMessage().toStdString();
}
