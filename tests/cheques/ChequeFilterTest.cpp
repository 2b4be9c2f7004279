// The issued-cheque filter: the condition it builds, its checks, what it remembers.
#include "ChequeFixture.h"
#include "cheques/frmSelectAssegniEmessi.h"

using namespace verbanto;

namespace {
class ChequeFilterTest : public ChequeTest {
protected:
    void SetUp() override
    {
        ChequeTest::SetUp();
        Cheque(3, 1, QStringLiteral("100"), QStringLiteral("10.5"), QStringLiteral("1, 0, 0"), QStringLiteral("2024-01-10 00:00:00"),
               QStringLiteral("'affitto'"));
        Cheque(4, 2, QStringLiteral("200"), QStringLiteral("1000"), QStringLiteral("0, 1, 1"), QStringLiteral("2024-02-10 00:00:00"),
               QStringLiteral("'luce'"));
        Cheque(3, 2, QStringLiteral("300"), QStringLiteral("55"), QStringLiteral("0, 0, 0"), QStringLiteral("2024-03-10 00:00:00"),
               QStringLiteral("'l''acqua'"));
    }

    // Opens the list, then its filter; the driver sets the criteria and ends with a command.
    void Filter(std::function<void(frmSelectAssegniEmessi&)> driver, std::function<void(frmAssegniEmessi&)> after = {})
    {
        OpenCheques([&](frmAssegniEmessi& f) {
            ExpectModal<frmSelectAssegniEmessi>(driver);
            f.cmdSelect->PerformClick();
            if (after)
                after(f);
        });
    }
    static QStringList Numbers(frmAssegniEmessi& f) { return Column(*f.MSFlexGrid1, 5); }
};
} // namespace

TEST_F(ChequeFilterTest, AccountAndAnUncheckedMarkWithAnd)
{
    Filter(
        [](frmSelectAssegniEmessi& s) {
            EXPECT_EQ(s.Caption(), QStringLiteral("Cerca Assegni Emessi"));
            // First opening: nothing chosen, the marks grayed, AND.
            EXPECT_EQ(s.cboDescrizione->ListIndex(), -1);
            EXPECT_EQ(s.chkSbarrato->Value(), 2);
            EXPECT_TRUE(s.optAND->Value());
            s.cboDescrizione->setListIndex(0);   // Conto casa, id 3
            s.chkSbarrato->PerformClick();       // grayed -> unchecked
            EXPECT_EQ(s.chkSbarrato->Value(), 0);
            s.cmdOK->PerformClick();
        },
        [](frmAssegniEmessi& f) { EXPECT_EQ(Numbers(f), QStringList({"100", "300"})); });
    EXPECT_EQ(gWhereAssegniEmessi, QStringLiteral("a.CONTOCORRENTEID = 3 AND a.Sbarrato =False "));
}

TEST_F(ChequeFilterTest, AmountRangeTypedWithADecimalComma)
{
    Filter(
        [](frmSelectAssegniEmessi& s) {
            s.txtImportoDa->setText(QStringLiteral(" 10,5 "));
            s.txtImportoA->setText(QStringLiteral("55"));
            s.cmdOK->PerformClick();
        },
        [](frmAssegniEmessi& f) {
            EXPECT_EQ(Numbers(f), QStringList({"100", "300"}));
            EXPECT_EQ(f.lblTotaleImporti->Caption(), QStringLiteral("Importo complessivo degli assegni visualizzati: 65,50 €"));
        });
    EXPECT_EQ(gWhereAssegniEmessi, QStringLiteral("a.Importo >= 10.5  AND a.Importo <= 55 "));
}

TEST_F(ChequeFilterTest, CommaListsMatchExactlyAndQuotesAreDoubled)
{
    Filter(
        [](frmSelectAssegniEmessi& s) {
            s.txtNumero->setText(QStringLiteral("100,300"));
            s.optOR->PerformClick();
            s.txtCausale->setText(QStringLiteral("l'acqua"));
            s.cmdOK->PerformClick();
        },
        [](frmAssegniEmessi& f) { EXPECT_EQ(Numbers(f), QStringList({"100", "300"})); });
    EXPECT_EQ(gWhereAssegniEmessi, QStringLiteral("a.Numero IN ('100', '300') OR a.Causale Like '%l''acqua%'"));
}

TEST_F(ChequeFilterTest, ThreeMarksWithOrAndAFilterThatMatchesNothing)
{
    Filter(
        [](frmSelectAssegniEmessi& s) {
            s.optOR->PerformClick();
            s.chkSuPiazza->PerformClick();        // unchecked
            s.chkSuPiazza->PerformClick();        // checked
            s.chkTrasferibile->PerformClick();    // unchecked
            s.chkSbarrato->PerformClick();
            s.chkSbarrato->PerformClick();        // checked
            s.cmdOK->PerformClick();
        },
        [](frmAssegniEmessi& f) { EXPECT_EQ(Numbers(f), QStringList({"100", "200", "300"})); });
    EXPECT_EQ(gWhereAssegniEmessi, QStringLiteral("a.SuPiazza = True  OR a.Trasferibile =False  OR a.Sbarrato =True "));

    gWhereAssegniEmessi.clear();
    Filter(
        [](frmSelectAssegniEmessi& s) {
            s.cmdClear->PerformClick();
            s.optAND->PerformClick();
            s.txtLuogoEmissione->setText(QStringLiteral("Roma"));
            s.cmdOK->PerformClick();
        },
        [](frmAssegniEmessi& f) {
            EXPECT_EQ(f.MSFlexGrid1->Rows(), 1);
            EXPECT_EQ(f.MSFlexGrid1->TextMatrix(0, 0), QStringLiteral("0 Records"));
            EXPECT_EQ(f.lblTotaleImporti->Caption(), QStringLiteral("Importo complessivo degli assegni visualizzati: 0,00 €"));
        });
    EXPECT_EQ(gWhereAssegniEmessi, QStringLiteral("a.LuogoEmissione Like '%Roma%'"));
}

TEST_F(ChequeFilterTest, DatesAreCheckedBeforeAmountsAndNothingIsApplied)
{
    gWhereAssegniEmessi = QStringLiteral("a.Numero = '200'");
    Filter(
        [&](frmSelectAssegniEmessi& s) {
            s.txtDataDa->setText(QStringLiteral("32/01/2024"));
            s.txtImportoDa->setText(QStringLiteral("dieci"));
            s.cmdOK->PerformClick();
            EXPECT_EQ(MessageTexts(), QStringList({"Formato della data di partenza non valido"}));
            s.txtDataDa->setText(QStringLiteral("01/02/2024"));
            s.txtDataA->setText(QStringLiteral("31/02/2024"));
            s.cmdOK->PerformClick();
            EXPECT_EQ(LastMessage(), QStringLiteral("Formato della data di arrivo non valido"));
            s.txtDataA->setText(QStringLiteral("29/02/2024"));
            s.cmdOK->PerformClick();
            EXPECT_EQ(LastMessage(), QStringLiteral("Formato dell'importo minimo non valido"));
            s.txtImportoDa->setText(QString());
            s.txtImportoA->setText(QStringLiteral("1x"));
            s.cmdOK->PerformClick();
            EXPECT_EQ(LastMessage(), QStringLiteral("Formato dell'importo massimo non valido"));
            EXPECT_EQ(Messages().size(), 4u);
            EXPECT_EQ(gWhereAssegniEmessi, QStringLiteral("a.Numero = '200'"));
            // The range that parses: February only.
            s.txtImportoA->setText(QString());
            s.cmdOK->PerformClick();
        },
        [](frmAssegniEmessi& f) { EXPECT_EQ(Numbers(f), QStringList({"200"})); });
    EXPECT_EQ(gWhereAssegniEmessi,
              QStringLiteral("a.DataAssegno >= ('2024-02-01 00:00:00') AND a.DataAssegno <= ('2024-02-29 00:00:00')"));
}

TEST_F(ChequeFilterTest, ReopeningRestoresTheCriteriaAndReimpostaEmptiesThem)
{
    Filter([](frmSelectAssegniEmessi& s) {
        s.cboNome->setListIndex(1);              // Bianchi Anna
        s.cboDescrizione->setListIndex(1);       // Conto ufficio
        s.chkTrasferibile->PerformClick();       // unchecked
        s.txtAssegnoNote->setText(QStringLiteral("nota"));
        s.optOR->PerformClick();
        s.cmdOK->PerformClick();
    });
    const QString applied = gWhereAssegniEmessi;
    EXPECT_EQ(applied, QStringLiteral("a.CONTOCORRENTEID = 4 OR a.ANAGRAFICAID = 2 OR a.Trasferibile =False  OR a.AssegnoNote Like '%nota%'"));
    Filter([&](frmSelectAssegniEmessi& s) {
        EXPECT_EQ(s.cboNome->Text(), QStringLiteral("Bianchi Anna"));
        EXPECT_EQ(s.cboDescrizione->Text(), QStringLiteral("Conto ufficio"));
        EXPECT_EQ(s.chkTrasferibile->Value(), 0);
        EXPECT_EQ(s.chkSuPiazza->Value(), 2);
        EXPECT_EQ(s.txtAssegnoNote->Text(), QStringLiteral("nota"));
        EXPECT_TRUE(s.optOR->Value());
        EXPECT_FALSE(s.optAND->Value());
        s.cmdClear->PerformClick();
        EXPECT_EQ(s.cboNome->ListIndex(), -1);
        EXPECT_EQ(s.chkTrasferibile->Value(), 2);
        EXPECT_EQ(s.txtAssegnoNote->Text(), QString());
        s.cmdCancel->PerformClick();
    });
    // Annulla keeps the list filtered; the next opening shows empty criteria.
    EXPECT_EQ(gWhereAssegniEmessi, applied);
    Filter([](frmSelectAssegniEmessi& s) {
        EXPECT_EQ(s.cboDescrizione->ListIndex(), -1);
        EXPECT_EQ(s.chkTrasferibile->Value(), 2);
        EXPECT_EQ(s.txtAssegnoNote->Text(), QString());
        s.cmdOK->PerformClick();
    }, [](frmAssegniEmessi& f) { EXPECT_EQ(Numbers(f), QStringList({"100", "200", "300"})); });
    EXPECT_EQ(gWhereAssegniEmessi, QString());
}
