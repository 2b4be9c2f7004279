// The issued-cheque editor: its checks in order, the values it writes, edit mode, the list refresh.
#include "ChequeFixture.h"
#include "cheques/frmEditAssegniEmessi.h"

using namespace verbanto;
using platform::Script::Of;

namespace {
// Picks the item whose text is given, as a user does in the drop-down list.
void Pick(platform::ComboBox& combo, const QString& text)
{
    for (int i = 0; i < combo.ListCount(); ++i)
        if (combo.List(i) == text) {
            combo.setListIndex(i);
            return;
        }
    ADD_FAILURE() << "no item " << text.toStdString();
}
} // namespace

TEST_F(ChequeTest, AddChecksEachFieldInOrderThenWritesTheCheque)
{
    Cheque(4, 2, QStringLiteral("1"), QStringLiteral("20"));
    OpenCheques([&](frmAssegniEmessi& f) {
        ExpectModal<frmEditAssegniEmessi>([&](frmEditAssegniEmessi& e) {
            // Nothing chosen, the date today, no mark ticked.
            EXPECT_EQ(e.cboDescrizione->ListIndex(), -1);
            EXPECT_EQ(e.cboNome->ListIndex(), -1);
            EXPECT_EQ(e.idDelContoCorrente, -1);
            EXPECT_EQ(e.idDelBeneficiarioEm, -1);
            EXPECT_EQ(e.txtDataAssegno->Value(), QDate::currentDate());
            EXPECT_EQ(e.chkSuPiazza->Value() + e.chkTrasferibile->Value() + e.chkSbarrato->Value(), 0);
            // Every account and every contact, of every type, in their order.
            ASSERT_EQ(e.cboDescrizione->ListCount(), 2);
            EXPECT_EQ(e.cboDescrizione->List(0), QStringLiteral("Conto casa"));
            ASSERT_EQ(e.cboNome->ListCount(), 3);
            EXPECT_EQ(e.cboNome->List(0), QStringLiteral(" Solo"));
            EXPECT_EQ(e.cboNome->List(2), QStringLiteral("Rossi Mario"));

            auto ok = [&](const char* expected) {
                e.cmdOK->PerformClick();
                EXPECT_EQ(LastMessage(), QString::fromUtf8(expected));
                EXPECT_EQ(Messages().back().style, 48);
                EXPECT_EQ(Messages().back().title, QStringLiteral("Gestione Verbanto"));
            };
            ok("Selezionare il conto corrente");
            EXPECT_EQ(Messages().size(), 1u);
            Pick(*e.cboDescrizione, QStringLiteral("Conto casa"));
            EXPECT_EQ(e.idDelContoCorrente, 3);
            ok("Selezionare il beneficiario");
            Pick(*e.cboNome, QStringLiteral("Rossi Mario"));
            EXPECT_EQ(e.idDelBeneficiarioEm, 1);
            e.txtNumero->setText(QStringLiteral("   "));
            ok("Inserire il numero dell'assegno");
            e.txtNumero->setText(QStringLiteral("12a"));
            ok("Formato del numero dell'assegno non valido");
            e.txtNumero->setText(QStringLiteral("00123"));
            ok("Inserire l'importo dell'assegno");
            e.txtImporto->setText(QStringLiteral("dodici"));
            ok("Formato dell'importo dell'assegno non valido");
            EXPECT_EQ(Count(QStringLiteral("AssegniEmessi")), 1);

            e.txtImporto->setText(QStringLiteral("12,50"));
            e.txtDataAssegno->setValue(QDate(2024, 4, 30));
            e.chkTrasferibile->PerformClick();
            e.txtLuogoEmissione->setText(QStringLiteral("  "));
            e.txtCausale->setText(QStringLiteral("  l'affitto di aprile "));
            e.cmdOK->PerformClick();
        });
        f.cmdAdd->PerformClick();
        EXPECT_EQ(Count(QStringLiteral("AssegniEmessi")), 2);
        const QString row = Scalar(QStringLiteral(
            "select CONTOCORRENTEID || '|' || ANAGRAFICAID || '|' || Numero || '|' || DataAssegno || '|' || "
            "ifnull(LuogoEmissione, 'NULL') || '|' || SuPiazza || Trasferibile || Sbarrato || '|' || Importo || '|' || "
            "Causale || '|' || ifnull(AssegnoNote, 'NULL') || '|' || ifnull(DateTimeLastUpdated, 'NULL') "
            "from AssegniEmessi where Numero = '00123'"));
        EXPECT_EQ(row, QStringLiteral("3|1|00123|2024-04-30 00:00:00|NULL|010|12.5|l'affitto di aprile|NULL|NULL"));
        EXPECT_EQ(Scalar(QStringLiteral("select length(DateTimeCreated) from AssegniEmessi where Numero = '00123'")), QStringLiteral("19"));
        // The list holds the new cheque, formatted by a full refill, and the new total.
        const auto& g = *f.MSFlexGrid1;
        EXPECT_EQ(Column(g, 5), QStringList({"1", "00123"}));
        EXPECT_EQ(Column(g, 11), QStringList({"20,00 €", "12,50 €"}));
        EXPECT_EQ(Column(g, 9), QStringList({"Vero", "Vero"}));
        EXPECT_EQ(f.lblTotaleImporti->Caption(), QStringLiteral("Importo complessivo degli assegni visualizzati: 32,50 €"));
    });
}

TEST_F(ChequeTest, FirstChequeOfAnEmptyListAndAmountsTypedEitherWay)
{
    ExpectModal<frmEditAssegniEmessi>([&](frmEditAssegniEmessi& e) {
        Pick(*e.cboDescrizione, QStringLiteral("Conto ufficio"));
        Pick(*e.cboNome, QStringLiteral("Bianchi Anna"));
        e.txtNumero->setText(QStringLiteral("7"));
        // Grouped the Italian way: still the amount the user meant.
        e.txtImporto->setText(QStringLiteral("1.234,50"));
        e.cmdOK->PerformClick();
    });
    OpenCheques([&](frmAssegniEmessi& f) {
        const auto& g = *f.MSFlexGrid1;
        ASSERT_EQ(g.Rows(), 2);
        EXPECT_EQ(g.TextMatrix(1, 11), QStringLiteral("1.234,50 €"));
        EXPECT_EQ(f.lblTotaleImporti->Caption(), QStringLiteral("Importo complessivo degli assegni visualizzati: 1.234,50 €"));
        EXPECT_EQ(Scalar(QStringLiteral("select DataAssegno from AssegniEmessi")), Today());

        ExpectModal<frmEditAssegniEmessi>([&](frmEditAssegniEmessi& e) {
            Pick(*e.cboDescrizione, QStringLiteral("Conto ufficio"));
            Pick(*e.cboNome, QStringLiteral("Bianchi Anna"));
            e.txtNumero->setText(QStringLiteral("8"));
            e.txtImporto->setText(QStringLiteral("12.50"));
            e.cmdOK->PerformClick();
        });
        f.cmdAdd->PerformClick();
        EXPECT_EQ(Scalar(QStringLiteral("select Importo from AssegniEmessi where Numero = '8'")), QStringLiteral("12.5"));
        EXPECT_EQ(Column(g, 11), QStringList({"1.234,50 €", "12,50 €"}));
    });
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ChequeTest, EditShowsTheStoredChequeAndSavesItBack)
{
    Cheque(4, 2, QStringLiteral("1"), QStringLiteral("20"));
    Cheque(3, 1, QStringLiteral("0042"), QStringLiteral("12.5"), QStringLiteral("1, 0, 1"), QStringLiteral("2024-02-29 00:00:00"),
           QStringLiteral("'bollo'"));
    OpenCheques([&](frmAssegniEmessi& f) {
        auto& g = *f.MSFlexGrid1;
        // A double click on the header opens nothing.
        g.UserDoubleClickHeader(5);
        ExpectModal<frmEditAssegniEmessi>([&](frmEditAssegniEmessi& e) {
            EXPECT_EQ(e.cboDescrizione->Text(), QStringLiteral("Conto casa"));
            EXPECT_EQ(e.cboNome->Text(), QStringLiteral("Rossi Mario"));
            EXPECT_EQ(e.idDelContoCorrente, 3);
            EXPECT_EQ(e.idDelBeneficiarioEm, 1);
            EXPECT_EQ(e.txtNumero->Text(), QStringLiteral("0042"));
            EXPECT_EQ(e.txtDataAssegno->Value(), QDate(2024, 2, 29));
            EXPECT_EQ(e.txtLuogoEmissione->Text(), QStringLiteral("Milano"));
            EXPECT_EQ(e.chkSuPiazza->Value(), 1);
            EXPECT_EQ(e.chkTrasferibile->Value(), 0);
            EXPECT_EQ(e.chkSbarrato->Value(), 1);
            EXPECT_EQ(e.txtImporto->Text(), QStringLiteral("12,5"));
            EXPECT_EQ(e.txtCausale->Text(), QStringLiteral("bollo"));
            // Activation does not move the date of a cheque being edited.
            e.Form_Activate();
            EXPECT_EQ(e.txtDataAssegno->Value(), QDate(2024, 2, 29));
            e.chkSbarrato->PerformClick();
            e.cmdOK->PerformClick();
        });
        g.UserDoubleClickCell(2, 4);
        EXPECT_TRUE(Messages().empty());
        EXPECT_EQ(Scalar(QStringLiteral("select Importo || '|' || SuPiazza || Trasferibile || Sbarrato || '|' || DataAssegno "
                                         "from AssegniEmessi where Numero = '0042'")),
                  QStringLiteral("12.5|100|2024-02-29 00:00:00"));
        EXPECT_EQ(Scalar(QStringLiteral("select length(DateTimeLastUpdated) from AssegniEmessi where Numero = '0042'")),
                  QStringLiteral("19"));
        EXPECT_EQ(Count(QStringLiteral("AssegniEmessi")), 2);
        EXPECT_EQ(Column(g, 10), QStringList({"Falso", "Falso"}));
        EXPECT_EQ(Column(g, 11), QStringList({"20,00 €", "12,50 €"}));
    });
}

TEST_F(ChequeTest, MarksStoredAsNothingOpenUnticked)
{
    Cheque(3, 1, QStringLiteral("5"), QStringLiteral("1"), QStringLiteral("null, 2, null"));
    OpenCheques([&](frmAssegniEmessi& f) {
        // The list shows nothing for them, and no error.
        EXPECT_EQ(f.MSFlexGrid1->TextMatrix(1, 8), QString());
        EXPECT_EQ(f.MSFlexGrid1->TextMatrix(1, 9), QStringLiteral("Vero"));
        ExpectModal<frmEditAssegniEmessi>([&](frmEditAssegniEmessi& e) {
            EXPECT_EQ(e.chkSuPiazza->Value(), 0);
            EXPECT_EQ(e.chkTrasferibile->Value(), 1);
            EXPECT_EQ(e.chkSbarrato->Value(), 0);
            // Both lists still filled and chosen: the cheque can be saved.
            EXPECT_EQ(e.cboNome->Text(), QStringLiteral("Rossi Mario"));
            e.cmdOK->PerformClick();
        });
        f.MSFlexGrid1->UserDoubleClickCell(1, 2);
    });
    EXPECT_TRUE(Messages().empty()) << LastMessage().toStdString();
    EXPECT_EQ(Scalar(QStringLiteral("select SuPiazza || Trasferibile || Sbarrato from AssegniEmessi")), QStringLiteral("010"));
}

TEST_F(ChequeTest, ComboKeysCancelAndThePrintedCard)
{
    Cheque(3, 1, QStringLiteral("5"), QStringLiteral("1"));
    OpenCheques([&](frmAssegniEmessi& f) {
        ExpectModal<frmEditAssegniEmessi>([&](frmEditAssegniEmessi& e) {
            e.cboNome->SendKey(platform::vbKeyEnd);
            EXPECT_EQ(e.cboNome->ListIndex(), 2);
            EXPECT_EQ(e.idDelBeneficiarioEm, 1);
            e.cboNome->SendKey(platform::vbKeyHome);
            EXPECT_EQ(e.cboNome->ListIndex(), 0);
            EXPECT_EQ(e.idDelBeneficiarioEm, 3);
            e.cboDescrizione->SendKey(platform::vbKeyEnd);
            EXPECT_EQ(e.idDelContoCorrente, 4);
            e.txtNumero->setText(QStringLiteral("<99>"));
            e.chkSuPiazza->PerformClick();
            e.txtImporto->setText(QStringLiteral("3"));
            e.cmdPrint->PerformClick();
            const auto previews = Of(QStringLiteral("preview"));
            ASSERT_EQ(previews.size(), 1u);
            const QString page = previews[0].prompt;
            // No heading: the card's rows in the order of the form.
            EXPECT_FALSE(page.contains(QStringLiteral("22pt")));
            QStringList order = {"<th>Su piazza</th><td>Sì</td>", "<th>Data Assegno</th>", "<th>Numero Assegno</th><td>&lt;99&gt;</td>",
                                 "<th>Conto Corrente</th><td>Conto ufficio</td>", "<th>Beneficiario</th><td> Solo</td>",
                                 "<th>Luogo di emissione</th>", "<th>Trasferibile</th><td>No</td>", "<th>Sbarrato</th><td>No</td>",
                                 "<th>Importo (€)</th><td>3</td>", "<th>Causale</th>", "<th>Note</th>"};
            qsizetype at = 0;
            for (const QString& piece : order) {
                const qsizetype found = page.indexOf(piece, at);
                EXPECT_GE(found, 0) << piece.toStdString();
                at = std::max(at, found);
            }
            // Printing saves nothing; Annulla neither.
            e.cmdCancel->PerformClick();
        });
        f.cmdAdd->PerformClick();
    });
    EXPECT_EQ(Count(QStringLiteral("AssegniEmessi")), 1);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ChequeTest, SixteenDigitAmountsKeepEveryDigitThroughSaveAndEdit)
{
    auto stored = [&] { return Scalar(QStringLiteral("select printf('%.2f', Importo) from AssegniEmessi where Numero = '9'")); };
    ExpectModal<frmEditAssegniEmessi>([&](frmEditAssegniEmessi& e) {
        Pick(*e.cboDescrizione, QStringLiteral("Conto casa"));
        Pick(*e.cboNome, QStringLiteral("Rossi Mario"));
        e.txtNumero->setText(QStringLiteral("9"));
        e.txtImporto->setText(QStringLiteral("1.234.567.890.123.456"));
        e.cmdOK->PerformClick();
    });
    OpenCheques([&](frmAssegniEmessi& f) {
        EXPECT_EQ(stored(), QStringLiteral("1234567890123456.00"));
        EXPECT_EQ(f.MSFlexGrid1->TextMatrix(1, 11), QStringLiteral("1.234.567.890.123.456,00 €"));
        // Opened and saved again unchanged, the amount stays the same.
        ExpectModal<frmEditAssegniEmessi>([&](frmEditAssegniEmessi& e) {
            EXPECT_EQ(e.txtImporto->Text(), QStringLiteral("1234567890123456"));
            e.cmdOK->PerformClick();
            EXPECT_FALSE(e.Loaded());
        });
        f.MSFlexGrid1->UserDoubleClickCell(1, 4);
        EXPECT_EQ(stored(), QStringLiteral("1234567890123456.00"));
        ExpectModal<frmEditAssegniEmessi>([&](frmEditAssegniEmessi& e) {
            e.txtImporto->setText(QStringLiteral("12.345.678.901.234,5"));
            e.cmdOK->PerformClick();
        });
        f.MSFlexGrid1->UserDoubleClickCell(1, 4);
        EXPECT_EQ(Scalar(QStringLiteral("select Importo = 12345678901234.5 from AssegniEmessi")), QStringLiteral("1"));
        ExpectModal<frmEditAssegniEmessi>([&](frmEditAssegniEmessi& e) {
            EXPECT_EQ(e.txtImporto->Text(), QStringLiteral("12345678901234,5"));
            e.cmdCancel->PerformClick();
        });
        f.MSFlexGrid1->UserDoubleClickCell(1, 4);
    });
    EXPECT_TRUE(Messages().empty()) << LastMessage().toStdString();
}
