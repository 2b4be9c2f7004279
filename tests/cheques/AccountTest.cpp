// The bank-account list, its filter and its editor; an account in use is not deleted.
#include "ChequeFixture.h"
#include "cheques/frmEditMieiContiCorrenti.h"
#include "cheques/frmSelectMieiContiCorrenti.h"

using namespace verbanto;
using platform::Script::Of;

namespace {
const char* const kInUse = "Impossibile eliminare il record. Esistono assegni collegati.";

// Selects the grid row whose description is given and deletes it.
void DeleteAccount(frmMieiContiCorrenti& f, const QString& description)
{
    auto& g = *f.MSFlexGrid1;
    for (int r = 1; r < g.Rows(); ++r)
        if (g.TextMatrix(r, 1) == description) {
            g.UserClickCell(r, 1);
            f.cmdDelete->PerformClick();
            return;
        }
    ADD_FAILURE() << "no account " << description.toStdString();
}
} // namespace

TEST_F(ChequeTest, AccountListColumnsAndPrint)
{
    OpenAccounts([](frmMieiContiCorrenti& f) {
        EXPECT_EQ(f.cmdSelect->Caption(), QStringLiteral("Seleziona"));
        EXPECT_EQ(f.cmdEsportaDati, nullptr);
        EXPECT_EQ(f.lblTotaleImporti, nullptr);
        const auto& g = *f.MSFlexGrid1;
        EXPECT_EQ(Headers(g), QStringList({"IDFIELD", "Descrizione", "Banca", "ABI", "CAB", "Numero Conto", "Intestatari",
                                           "Data Creazione", "Data Ultima Modifica"}));
        EXPECT_EQ(g.Rows(), 3);
        EXPECT_EQ(g.ColWidth(0), 0);
        EXPECT_EQ(Column(g, 3).size(), 2);
        EXPECT_TRUE(Column(g, 3).contains(QStringLiteral("01234")));
        f.cmdPrintGrid->PerformClick();
        const QString page = Of(QStringLiteral("preview")).at(0).prompt;
        EXPECT_TRUE(page.contains(QStringLiteral("Gestione Verbanto - Conti correnti")));
        for (const char* shown : {"Descrizione", "Banca", "ABI", "CAB", "Numero Conto", "Intestatari"})
            EXPECT_TRUE(page.contains(QStringLiteral("<th>") + QString::fromLatin1(shown) + QStringLiteral("</th>"))) << shown;
        EXPECT_FALSE(page.contains(QStringLiteral("Data Creazione")));
        EXPECT_FALSE(page.contains(QStringLiteral("2024-01-01 09:00:00")));
    });
}

TEST_F(ChequeTest, AnAccountInUseIsNotDeleted)
{
    Cheque(3, 1, QStringLiteral("1"), QStringLiteral("10"));
    Sql(QStringLiteral("insert into pagamenti (pagamentiid, anagraficaid, datapagamento, importo) values (9, 1, '2024-01-01 00:00:00', 0)"));
    Sql(QStringLiteral("insert into versamenti (pagamentiid, contocorrenteid) values (9, 4)"));
    OpenAccounts([&](frmMieiContiCorrenti& f) {
        // Used by a cheque, then by a deposit: refused the same way, without the question.
        DeleteAccount(f, QStringLiteral("Conto casa"));
        DeleteAccount(f, QStringLiteral("Conto ufficio"));
        EXPECT_EQ(MessageTexts(), QStringList({kInUse, kInUse}));
        EXPECT_EQ(Messages().back().style, 48);
        EXPECT_EQ(f.MSFlexGrid1->Rows(), 3);
        EXPECT_EQ(Count(QStringLiteral("MieiContiCorrenti")), 2);

        // Once the deposit is gone the account can go, after the question.
        Sql(QStringLiteral("delete from versamenti"));
        platform::Script::AnswerMsgBox(platform::vbYes);
        DeleteAccount(f, QStringLiteral("Conto ufficio"));
        EXPECT_EQ(LastMessage(), QStringLiteral("Sei sicuro di voler eliminare il record?"));
        EXPECT_EQ(Count(QStringLiteral("MieiContiCorrenti")), 1);
        EXPECT_EQ(Column(*f.MSFlexGrid1, 1), QStringList({"Conto casa"}));
    });
}

TEST_F(ChequeTest, AccountFilterBuildsItsConditionAndRemembersIt)
{
    OpenAccounts([&](frmMieiContiCorrenti& f) {
        ExpectModal<frmSelectMieiContiCorrenti>([](frmSelectMieiContiCorrenti& s) {
            EXPECT_EQ(s.Caption(), QStringLiteral("Cerca Conti Correnti"));
            EXPECT_TRUE(s.txtDescrizione->HasFocus());
            s.txtBanca->setText(QStringLiteral("Centrale"));
            s.txtABI->setText(QStringLiteral("01234"));
            s.cmdOK->PerformClick();
        });
        f.cmdSelect->PerformClick();
        EXPECT_EQ(gWhereMieiContiCorrenti, QStringLiteral("a.Banca Like '%Centrale%' AND a.ABI Like '%01234%'"));
        EXPECT_EQ(Column(*f.MSFlexGrid1, 1), QStringList({"Conto casa"}));

        ExpectModal<frmSelectMieiContiCorrenti>([](frmSelectMieiContiCorrenti& s) {
            EXPECT_EQ(s.txtBanca->Text(), QStringLiteral("Centrale"));
            EXPECT_EQ(s.txtABI->Text(), QStringLiteral("01234"));
            s.cmdClear->PerformClick();
            s.txtABI->setText(QStringLiteral("01234,03069"));
            s.txtIntestatario->setText(QStringLiteral("Rossi'"));
            s.optOR->PerformClick();
            s.cmdOK->PerformClick();
        });
        f.cmdSelect->PerformClick();
        EXPECT_EQ(gWhereMieiContiCorrenti, QStringLiteral("a.ABI IN ('01234', '03069') OR a.Intestatari Like '%Rossi''%'"));
        EXPECT_EQ(f.MSFlexGrid1->Rows(), 3);

        // A filter that matches nothing: delete and double click do nothing.
        ExpectModal<frmSelectMieiContiCorrenti>([](frmSelectMieiContiCorrenti& s) {
            EXPECT_TRUE(s.optOR->Value());
            s.cmdClear->PerformClick();
            s.txtDescrizione->setText(QStringLiteral("nessuno"));
            s.cmdOK->PerformClick();
        });
        f.cmdSelect->PerformClick();
        EXPECT_EQ(f.MSFlexGrid1->TextMatrix(0, 0), QStringLiteral("0 Records"));
        f.cmdDelete->PerformClick();
        f.MSFlexGrid1->UserDoubleClickCell(0, 0);
    });
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ChequeTest, AccountEditorAddsAndChangesAnAccount)
{
    Sql(QStringLiteral("delete from MieiContiCorrenti"));
    // An empty list opens the editor at once.
    ExpectModal<frmEditMieiContiCorrenti>([&](frmEditMieiContiCorrenti& e) {
        e.cmdOK->PerformClick();
        EXPECT_EQ(LastMessage(), QStringLiteral("Inserire la descrizione del conto corrente"));
        e.txtDescrizione->setText(QStringLiteral("Conto di casa"));
        e.txtABI->setText(QStringLiteral("123"));
        e.cmdOK->PerformClick();
        EXPECT_EQ(LastMessage(), QStringLiteral("Lunghezza del codice ABI non valida"));
        e.txtABI->setText(QStringLiteral("01234"));
        e.txtCAB->setText(QStringLiteral("0567A"));
        e.cmdOK->PerformClick();
        EXPECT_EQ(LastMessage(), QStringLiteral("Il codice CAB contiene caratteri non validi"));
        e.txtCAB->setText(QStringLiteral("05678"));
        e.txtBanca->setText(QStringLiteral("Banca d'Italia"));
        e.cmdOK->PerformClick();
    });
    OpenAccounts([&](frmMieiContiCorrenti& f) {
        EXPECT_EQ(Column(*f.MSFlexGrid1, 2), QStringList({"Banca d'Italia"}));
        ExpectModal<frmEditMieiContiCorrenti>([](frmEditMieiContiCorrenti& e) {
            EXPECT_EQ(e.txtDescrizione->Text(), QStringLiteral("Conto di casa"));
            EXPECT_EQ(e.txtCAB->Text(), QStringLiteral("05678"));
            e.txtIntestatari->setText(QStringLiteral("Mario e Anna"));
            e.cmdOK->PerformClick();
        });
        f.MSFlexGrid1->UserDoubleClickCell(1, 1);
        EXPECT_EQ(Column(*f.MSFlexGrid1, 6), QStringList({"Mario e Anna"}));
    });
    EXPECT_EQ(Count(QStringLiteral("MieiContiCorrenti")), 1);
    EXPECT_EQ(Scalar(QStringLiteral("select Descrizione || '|' || ABI || '|' || Intestatari || '|' || ifnull(NumeroConto, 'NULL') "
                                    "|| '|' || length(DateTimeCreated) || '|' || length(DateTimeLastUpdated) from MieiContiCorrenti")),
              QStringLiteral("Conto di casa|01234|Mario e Anna|NULL|19|19"));
}
