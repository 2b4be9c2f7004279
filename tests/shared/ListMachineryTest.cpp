// The list, editor and filter machinery on small windows of the test's own: the width rule,
// the where-clause rule, renames, amounts with their total, the row refreshers, the statement
// texts of the editors, the check-box and amount criteria of the filters, and a filter whose combos
// could not be filled.
#include "harness/TestEnv.h"
#include "shared/basGeneral.h"
#include "shared/EditorForm.h"
#include "shared/FilterForm.h"
#include "shared/ListForm.h"
#include "shared/ModalWindows.h"
#include "shared/SqlLiteral.h"
#include "shared/WindowControls.h"
#include <QTest>

using namespace verbanto;
using namespace platform;

namespace {

QString gWhereTest;

// A list over the accounts, with a rename, an amount column and a flag column.
class frmTestList : public ListForm {
public:
    frmTestList() : ListForm(QStringLiteral("frmTestList"), Values()) {}
    double mID = 0;
    double& RecordId() override { return mID; }
    int editorOpenings = 0;

    static Setup Values()
    {
        Setup s;
        s.caption = QStringLiteral("Prova");
        s.selectText = QStringLiteral("SELECT a.CONTOCORRENTEID, a.Descrizione, cast(a.ABI as real) as Importo, cast(a.CAB as integer) as SuPiazza, "
                                      "a.NumeroConto as NumeroDelConto FROM MieiContiCorrenti a ");
        s.orderBy = QStringLiteral(" order by a.CONTOCORRENTEID ");
        s.where = &gWhereTest;
        s.idColumn = QStringLiteral("CONTOCORRENTEID");
        s.table = QStringLiteral("MieiContiCorrenti");
        s.rowKey = QStringLiteral("CONTOCORRENTEID");
        s.renames = {{QStringLiteral("Numero*"), QStringLiteral("Conto")}};
        s.amountPattern = QStringLiteral("Import*");
        s.totalPrefix = QStringLiteral("Totale: ");
        s.addWhenEmpty = false;
        return s;
    }

protected:
    void ShowEditor() override { ++editorOpenings; }
};

class ListMachineryTest : public VerbantoTest {
protected:
    void SetUp() override
    {
        VerbantoTest::SetUp();
        OpenProgramDb();
        gWhereTest.clear();
        Account(1, QStringLiteral("Conto di casa"), QStringLiteral("1000"), QStringLiteral("1"));
        Account(2, QStringLiteral("Cassa"), QStringLiteral("234.5"), QStringLiteral("0"));
        Account(3, QStringLiteral("Vuoto"), QStringLiteral("Null"), QStringLiteral("0"));
    }
    void Account(int id, const QString& description, const QString& amount, const QString& flag)
    {
        Sql(QStringLiteral("insert into MieiContiCorrenti (CONTOCORRENTEID, Descrizione, ABI, CAB, NumeroConto) values (%1, '%2', %3, %4, 'N%1')")
                .arg(id)
                .arg(description, amount, flag));
    }
    frmTestList& List()
    {
        frmTestList& l = Forms::Instance<frmTestList>();
        l.Load();
        return l;
    }
};

} // namespace

TEST(ListWidthRule, CapsWidensAndFloorsAsTheListsNeed)
{
    EXPECT_EQ(ListForm::ColumnWidthFor(9000), 8000);
    EXPECT_EQ(ListForm::ColumnWidthFor(7000), 7000);
    EXPECT_EQ(ListForm::ColumnWidthFor(6000), 6000);
    EXPECT_EQ(ListForm::ColumnWidthFor(3000), 3250);
    EXPECT_EQ(ListForm::ColumnWidthFor(100), 600);      // 592 before the floor
    EXPECT_EQ(ListForm::ColumnWidthFor(0), 600);
    EXPECT_EQ(ListForm::ColumnWidthFor(1200.5), 1600);  // 1200 (halves to even) + 400
}

TEST(ListNamePatterns, StarAndQuestionMarkWithCase)
{
    EXPECT_TRUE(MatchesPattern(QStringLiteral("DataScadenza"), QStringLiteral("Data*")));
    EXPECT_FALSE(MatchesPattern(QStringLiteral("dataScadenza"), QStringLiteral("Data*")));
    EXPECT_TRUE(MatchesPattern(QStringLiteral("ANAGRAFICAID"), QStringLiteral("*ID")));
    EXPECT_FALSE(MatchesPattern(QStringLiteral("pagamentiId"), QStringLiteral("*ID")));
    EXPECT_TRUE(MatchesPattern(QStringLiteral("TotaleImporti"), QStringLiteral("*Import*")));
    EXPECT_TRUE(MatchesPattern(QStringLiteral("Importo"), QStringLiteral("*Import*")));
    EXPECT_FALSE(MatchesPattern(QStringLiteral("importo"), QStringLiteral("*Import*")));
    EXPECT_TRUE(MatchesPattern(QStringLiteral("Data"), QStringLiteral("D?t?")));
    EXPECT_EQ(Val(QStringLiteral(" 12 ")), 12);
    EXPECT_EQ(Val(QString()), 0);
    EXPECT_EQ(SqlNumber(12), QStringLiteral("12"));
    EXPECT_EQ(SqlNumber(12.5), QStringLiteral("12.5"));
}

TEST(EditorStatements, ValuesJoinedByACommaAndTwoBlanks)
{
    EXPECT_EQ(EditorForm::InsertSql(QStringLiteral("INSERT INTO T (A, B) VALUES ("), {QStringLiteral("1"), QStringLiteral("Null")}),
              QStringLiteral("INSERT INTO T (A, B) VALUES (1,  Null) "));
    const QString update = EditorForm::UpdateSql(QStringLiteral("T"), {{QStringLiteral("A"), QStringLiteral("1")}}, QStringLiteral("TID"), 7);
    EXPECT_TRUE(update.startsWith(QStringLiteral("UPDATE T SET A = 1,  DateTimeLastUpdated = '")));
    EXPECT_TRUE(update.endsWith(QStringLiteral("' WHERE TID = 7 ")));
    EXPECT_EQ(EditorForm::TextValue(QStringLiteral("  l'arco ")), QStringLiteral("'l''arco'"));
    EXPECT_EQ(EditorForm::TextValue(QStringLiteral("   ")), QStringLiteral("Null"));
    EXPECT_EQ(EditorForm::DateValue(QDate(2024, 2, 29)), QStringLiteral("'2024-02-29 00:00:00'"));
    EXPECT_EQ(EditorForm::DateValue(QDate()), QStringLiteral("Null"));
}

TEST_F(ListMachineryTest, FillRenamesFormatsAmountsAndTotalsThem)
{
    frmTestList& l = List();
    const FlexGrid& g = *l.MSFlexGrid1;
    ASSERT_EQ(g.Rows(), 4);
    QStringList headers;
    for (int c = 0; c < g.Cols(); ++c)
        headers << g.TextMatrix(0, c);
    EXPECT_EQ(headers.join(u','), QStringLiteral("IDFIELD,Descrizione,Importo,Su Piazza,Conto"));
    EXPECT_EQ(g.TextMatrix(1, 2), QStringLiteral("1.000,00 €"));
    EXPECT_EQ(g.TextMatrix(2, 2), QStringLiteral("234,50 €"));
    EXPECT_EQ(g.TextMatrix(3, 2), QString());            // a Null amount adds nothing
    EXPECT_EQ(g.TextMatrix(1, 3), QStringLiteral("Vero"));
    EXPECT_EQ(g.TextMatrix(2, 3), QStringLiteral("Falso"));
    EXPECT_EQ(l.lblTotaleImporti->Caption(), QStringLiteral("Totale: 1.234,50 €"));
    EXPECT_EQ(g.ColWidth(0), 0);
}

TEST_F(ListMachineryTest, AClauseIsAppendedWithWhereOrAnd)
{
    gWhereTest = QStringLiteral("a.Descrizione Like '%Cassa%'");
    frmTestList& l = List();
    EXPECT_EQ(l.MSFlexGrid1->Rows(), 2);
    EXPECT_EQ(l.MSFlexGrid1->TextMatrix(1, 1), QStringLiteral("Cassa"));
    EXPECT_EQ(l.lblTotaleImporti->Caption(), QStringLiteral("Totale: 234,50 €"));
    // A clause the database refuses: one report, by the fill; the list keeps what it showed.
    gWhereTest = QStringLiteral("nonsense ((");
    platform::Script::Clear();
    l.FillGrid();
    EXPECT_EQ(l.MSFlexGrid1->Rows(), 2);
    EXPECT_EQ(l.MSFlexGrid1->TextMatrix(1, 1), QStringLiteral("Cassa"));
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_TRUE(Messages().back().prompt.endsWith(QStringLiteral("in procedure FillGrid of Form frmTestList")));
}

TEST_F(ListMachineryTest, RowRefreshersRewriteTheCurrentRowAndAppendTheNewest)
{
    frmTestList& l = List();
    FlexGrid& g = *l.MSFlexGrid1;
    g.UserClickCell(2, 1);
    Sql(QStringLiteral("update MieiContiCorrenti set Descrizione = 'Cassa nuova', ABI = 99 where CONTOCORRENTEID = 2"));
    l.mID = 2;
    l.UpdateGridRow();
    EXPECT_EQ(g.TextMatrix(2, 1), QStringLiteral("Cassa nuova"));
    EXPECT_EQ(g.TextMatrix(2, 2), QStringLiteral("99"));   // raw text: no cell rules here
    Account(9, QStringLiteral("Nuovo"), QStringLiteral("5"), QStringLiteral("1"));
    l.AddGridRow();
    EXPECT_EQ(l.mID, 9);
    ASSERT_EQ(g.Rows(), 5);
    EXPECT_EQ(g.TextMatrix(4, 0), QStringLiteral("9"));
    EXPECT_EQ(g.TextMatrix(4, 1), QStringLiteral("Nuovo"));
    EXPECT_EQ(g.TopRow(), 1);   // a short list stays at its top
}

TEST_F(ListMachineryTest, DoubleClickOpensTheEditorOnDataRowsOnly)
{
    frmTestList& l = List();
    l.MSFlexGrid1->UserDoubleClickHeader(1);
    EXPECT_EQ(l.editorOpenings, 0);
    gNewRecord = true;
    l.MSFlexGrid1->UserDoubleClickCell(3, 1);
    EXPECT_EQ(l.editorOpenings, 1);
    EXPECT_FALSE(gNewRecord);
    EXPECT_EQ(l.mID, 3);
}

namespace {
FilterValues gTestValues;
bool gTestSaved = false;
bool gTestOr = false;
bool gTestCombosRaise = false;

// A filter with a check box and an amount range, as the cheque filter has them.
class frmTestFilter : public FilterForm {
public:
    frmTestFilter() : FilterForm(QStringLiteral("frmTestFilter"), {&gWhereTest, &gTestOr, &gTestValues, &gTestSaved}) {}
    CheckBox* chkSuPiazza = nullptr;
    TextBox* txtImportoDa = nullptr;
    TextBox* txtImportoA = nullptr;

protected:
    void CreateFormControls() override
    {
        chkSuPiazza = Add<CheckBox>(QStringLiteral("chkSuPiazza"), QStringLiteral("Su piazza"));
        chkSuPiazza->setValue(2);
        txtImportoDa = Add<TextBox>(QStringLiteral("txtImportoDa"));
        txtImportoA = Add<TextBox>(QStringLiteral("txtImportoA"));
        AddAndOr();
        AddCommands(true);
    }
    // A combo query that raises, as one on a table that is gone.
    void FillCombos() override
    {
        if (gTestCombosRaise)
            gRsRead(QStringLiteral("SELECT CONTOCORRENTEID FROM ContiSpariti"));
    }
    std::vector<Check> Checks() override { return {{txtImportoDa, true, QStringLiteral("minimo")}, {txtImportoA, true, QStringLiteral("massimo")}}; }
    std::vector<Criterion> Criteria() override
    {
        return {{Kind::Check, chkSuPiazza, QStringLiteral("a.SuPiazza = ")},
                {Kind::AmountFrom, txtImportoDa, QStringLiteral("a.Importo")},
                {Kind::AmountTo, txtImportoA, QStringLiteral("a.Importo")}};
    }
    ListForm* List() override { return LoadedInstance<frmTestList>(); }
};
} // namespace

TEST_F(ListMachineryTest, CheckBoxesAndAmountsMakeTheirClausesAndAreRemembered)
{
    frmTestFilter& f = Forms::Instance<frmTestFilter>();
    f.Load();
    EXPECT_EQ(f.Condition(QStringLiteral(" AND ")), QString());   // grayed = any
    f.chkSuPiazza->setValue(1);
    f.txtImportoDa->setText(QStringLiteral("1.234,50"));
    f.txtImportoA->setText(QStringLiteral("2000"));
    EXPECT_EQ(f.Condition(QStringLiteral(" OR ")), QStringLiteral("a.SuPiazza = True  OR a.Importo >= 1234.5  OR a.Importo <= 2000 "));
    f.chkSuPiazza->setValue(0);
    f.txtImportoDa->setText(QStringLiteral("dieci"));
    f.cmdOK->PerformClick();
    EXPECT_EQ(LastMessage(), QStringLiteral("minimo"));
    f.txtImportoDa->setText(QString());
    f.cmdOK->PerformClick();
    EXPECT_EQ(gWhereTest, QStringLiteral("a.SuPiazza = False  AND a.Importo <= 2000 "));
    // The next opening shows the same values; Reimposta grays the check box again.
    frmTestFilter& again = Forms::Instance<frmTestFilter>();
    again.Load();
    EXPECT_EQ(again.chkSuPiazza->Value(), 0);
    EXPECT_EQ(again.txtImportoA->Text(), QStringLiteral("2000"));
    again.cmdClear->PerformClick();
    EXPECT_EQ(again.chkSuPiazza->Value(), 2);
    EXPECT_EQ(again.txtImportoA->Text(), QString());
    EXPECT_EQ(gWhereTest, QStringLiteral("a.SuPiazza = False  AND a.Importo <= 2000 "));
}

TEST_F(ListMachineryTest, AFilterWhoseCombosCouldNotBeFilledAtItsFirstOpeningStillClearsRemembersAndCloses)
{
    gTestCombosRaise = true;
    frmTestFilter& f = Forms::Instance<frmTestFilter>();
    f.Show();
    EXPECT_EQ(Messages().size(), 1u);
    ASSERT_TRUE(f.Loaded());
    QTest::keyClicks(f.txtImportoA->Widget(), QStringLiteral("2000"));
    f.cmdClear->PerformClick();
    EXPECT_EQ(f.txtImportoA->Text(), QString());
    QTest::keyClicks(f.txtImportoA->Widget(), QStringLiteral("1500"));
    f.cmdOK->PerformClick();
    EXPECT_FALSE(Forms::Exists<frmTestFilter>());
    EXPECT_EQ(gWhereTest, QStringLiteral("a.Importo <= 1500 "));
    EXPECT_EQ(Messages().size(), 1u);
    gTestCombosRaise = false;
    frmTestFilter& again = Forms::Instance<frmTestFilter>();
    again.Show();
    EXPECT_EQ(again.txtImportoA->Text(), QStringLiteral("1500"));
}
