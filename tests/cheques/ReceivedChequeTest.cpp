// The endorsement and deposit dialogs: one row against the deadline in hand, nothing refreshed.
#include "ChequeFixture.h"
#include "cheques/frmEditGirate.h"
#include "cheques/frmEditVersamenti.h"
#include "deadlines/frmPagamenti.h"

using namespace verbanto;

namespace {
class ReceivedChequeTest : public ChequeTest {
protected:
    void SetUp() override
    {
        ChequeTest::SetUp();
        Sql(QStringLiteral("insert into pagamenti (pagamentiid, anagraficaid, datapagamento, importo, causale) "
                           "values (7, 2, '2024-03-01 00:00:00', 0, 'Assegno di Bianchi')"));
        platform::Forms::Instance<frmPagamenti>().mPagamentiID = 7;
    }
    template <class F> void Open(std::function<void(F&)> driver)
    {
        ExpectModal<F>(std::move(driver));
        platform::Forms::Instance<F>().Show(platform::vbModal);
    }
    static QString TodayText() { return Today(); }
};
} // namespace

TEST_F(ReceivedChequeTest, EndorsementRowsWithTheirChecks)
{
    gNewRecord = false;
    Open<frmEditGirate>([&](frmEditGirate& d) {
        EXPECT_EQ(d.Caption(), QStringLiteral("Gira Assegno Ricevuto"));
        EXPECT_TRUE(gNewRecord);
        EXPECT_EQ(d.lblNome->Caption(), QStringLiteral("Benificiario"));
        // Every contact, by surname; a missing surname leaves a blank before the name.
        ASSERT_EQ(d.cboNome->ListCount(), 3);
        EXPECT_EQ(d.cboNome->List(0), QStringLiteral(" Solo"));
        EXPECT_EQ(d.cboNome->ListIndex(), -1);
        EXPECT_EQ(d.txtDataGirata->Value(), QDate::currentDate());
        d.cmdOK->PerformClick();
        EXPECT_EQ(LastMessage(), QStringLiteral("Selezionare il beneficiario"));
        d.cboNome->SendKey(platform::vbKeyEnd);
        EXPECT_EQ(d.cboNome->Text(), QStringLiteral("Rossi Mario"));
        d.txtDataGirata->setValue(QDate(2024, 3, 5));
        d.chkGirataPiena->PerformClick();
        d.txtNote->setText(QStringLiteral(" all'incasso "));
        d.cmdOK->PerformClick();
    });
    Open<frmEditGirate>([&](frmEditGirate& d) {
        d.cboNome->SendKey(platform::vbKeyHome);
        d.cmdOK->PerformClick();
    });
    EXPECT_EQ(MessageTexts(), QStringList({"Selezionare il beneficiario"}));
    EXPECT_EQ(Count(QStringLiteral("Girate"), QStringLiteral("PagamentiID = 7")), 2);
    EXPECT_EQ(Scalar(QStringLiteral("select ANAGRAFICAID || '|' || GirataPiena || '|' || DataGirata || '|' || notegirata || '|' || "
                                    "length(DateTimeCreated) from Girate where ANAGRAFICAID = 1")),
              QStringLiteral("1|1|2024-03-05 00:00:00|all'incasso|19"));
    EXPECT_EQ(Scalar(QStringLiteral("select ANAGRAFICAID || '|' || GirataPiena || '|' || DataGirata || '|' || ifnull(notegirata, 'NULL') "
                                    "from Girate where ANAGRAFICAID = 3")),
              QStringLiteral("3|0|") + TodayText() + QStringLiteral("|NULL"));
}

TEST_F(ReceivedChequeTest, DepositRowWithItsChecks)
{
    Open<frmEditVersamenti>([&](frmEditVersamenti& d) {
        EXPECT_EQ(d.Caption(), QStringLiteral("Versa Assegno Ricevuto"));
        ASSERT_EQ(d.cboDescrizione->ListCount(), 2);
        EXPECT_EQ(d.cboDescrizione->List(0), QStringLiteral("Conto casa"));
        EXPECT_EQ(d.txtDataVersamento->Value(), QDate::currentDate());
        d.cmdOK->PerformClick();
        EXPECT_EQ(LastMessage(), QStringLiteral("Selezionare il Conto Corrente"));
        d.cboDescrizione->setListIndex(1);
        d.txtNote->setText(QStringLiteral("   "));
        d.cmdPrint->PerformClick();
        const QString page = platform::Script::Of(QStringLiteral("preview")).at(0).prompt;
        EXPECT_TRUE(page.contains(QStringLiteral("<th>Conto Corrente</th><td>Conto ufficio</td>")));
        EXPECT_TRUE(page.contains(QStringLiteral("<th>Data Versamento</th>")));
        d.cmdOK->PerformClick();
    });
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Scalar(QStringLiteral("select PagamentiID || '|' || CONTOCORRENTEID || '|' || DataVersamento || '|' || "
                                    "ifnull(noteversamento, 'NULL') || '|' || length(DateTimeCreated) from Versamenti")),
              QStringLiteral("7|4|") + TodayText() + QStringLiteral("|NULL|19"));
    // The account that holds a deposit is now in use.
    OpenAccounts([&](frmMieiContiCorrenti& f) {
        f.MSFlexGrid1->UserClickCell(f.MSFlexGrid1->TextMatrix(1, 0) == QStringLiteral("4") ? 1 : 2, 1);
        f.cmdDelete->PerformClick();
        EXPECT_EQ(LastMessage(), QStringLiteral("Impossibile eliminare il record. Esistono assegni collegati."));
    });
}

TEST_F(ReceivedChequeTest, NoAccountsOrNoDeadlineWritesNothing)
{
    Sql(QStringLiteral("delete from MieiContiCorrenti"));
    Open<frmEditVersamenti>([&](frmEditVersamenti& d) {
        EXPECT_EQ(d.cboDescrizione->ListCount(), 0);
        d.cmdOK->PerformClick();
        EXPECT_EQ(LastMessage(), QStringLiteral("Selezionare il Conto Corrente"));
        d.cmdCancel->PerformClick();
    });
    // A deadline deleted meanwhile: the row would belong to nothing.
    Sql(QStringLiteral("delete from pagamenti"));
    Open<frmEditGirate>([&](frmEditGirate& d) {
        d.cboNome->setListIndex(0);
        d.cmdOK->PerformClick();
        EXPECT_EQ(LastMessage(), QStringLiteral("Nessuna scadenza selezionata"));
        d.cmdCancel->PerformClick();
    });
    EXPECT_EQ(Count(QStringLiteral("Girate")) + Count(QStringLiteral("Versamenti")), 0);
}
