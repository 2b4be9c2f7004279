// The flexible grid: cell store, sizes, selection, scrolling, sorts, and the events a user's
// mouse and keys give.
#include "harness/TestEnv.h"
#include "platform/FlexGrid.h"

#include <QApplication>
#include <algorithm>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableView>

using namespace platform;

namespace {

class GridForm : public Form {
public:
    GridForm() : Form("frmGridTest") {}
    FlexGrid* grid = nullptr;
    void CreateControls() override
    {
        grid = Add<FlexGrid>("MSFlexGrid1");
        grid->Move(0, 0, 6000, 3000);
    }
};

QStringList column(const FlexGrid& g, int c)
{
    QStringList out;
    for (int r = 1; r < g.Rows(); ++r)
        out << g.TextMatrix(r, c);
    return out;
}

long errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const VbError& e) {
        return e.Number;
    }
    return 0;
}

} // namespace

class FlexGridTest : public VerbantoTest {
protected:
    void SetUp() override
    {
        VerbantoTest::SetUp();
        form.Load();
        g = form.grid;
    }
    void TearDown() override
    {
        form.Unload();
        VerbantoTest::TearDown();
    }
    // Rows "r1".."rN" under the headers "A", "B".
    void fill(int n)
    {
        g->setRows(1);
        g->setCols(2);
        g->setTextMatrix(0, 0, "A");
        g->setTextMatrix(0, 1, "B");
        for (int i = 1; i <= n; ++i)
            g->AddItem(QString("r%1\t%1").arg(i));
    }
    void record()
    {
        g->MouseDown = [this](int b, int, double, double y) {
            log << QString("down %1 row %2 col %3 %4").arg(b).arg(g->Row()).arg(g->Col()).arg(y < g->RowHeight(1) ? "header" : "data");
        };
        g->MouseUp = [this](int b, int, double, double) { log << QString("up %1").arg(b); };
        g->Click = [this] { log << "click"; };
        g->DblClick = [this] { log << "dbl"; };
        g->SelChange = [this] { log << "sel"; };
        g->KeyDown = [this](int& k, int s) { log << QString("key %1 %2").arg(k).arg(s); };
    }
    GridForm form;
    FlexGrid* g = nullptr;
    QStringList log;
};

TEST_F(FlexGridTest, ResizingKeepsCellsAndOutOfRangeCellsAreRefused)
{
    g->setRows(3);
    g->setCols(3);
    g->setTextMatrix(2, 2, "ultimo");
    g->setTextMatrix(1, 0, "primo");
    g->setCols(4);
    g->setRows(5);
    EXPECT_EQ(g->TextMatrix(2, 2), "ultimo");
    EXPECT_EQ(g->TextMatrix(1, 0), "primo");
    EXPECT_EQ(g->TextMatrix(4, 3), "");
    g->setCols(2);
    EXPECT_EQ(g->TextMatrix(1, 0), "primo");
    EXPECT_EQ(errorOf([&] { g->TextMatrix(1, 2); }), Err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { g->TextMatrix(5, 0); }), Err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { g->setTextMatrix(-1, 0, "x"); }), Err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { g->ColWidth(2); }), Err::SubscriptOutOfRange);
    // Texts outside ASCII survive the compact store.
    g->setTextMatrix(1, 1, "Città € «x»");
    EXPECT_EQ(g->TextMatrix(1, 1), "Città € «x»");
}

TEST_F(FlexGridTest, RowsAreAddedRemovedAndCleared)
{
    fill(0);
    g->AddItem("uno\tdue\ttre");          // the extra text is dropped
    g->AppendRow({"solo"});               // a missing one stays empty
    ASSERT_EQ(g->Rows(), 3);
    EXPECT_EQ(g->TextMatrix(1, 1), "due");
    EXPECT_EQ(g->TextMatrix(2, 0), "solo");
    EXPECT_EQ(g->TextMatrix(2, 1), "");
    g->setRow(2);
    g->RemoveItem(1);
    EXPECT_EQ(g->Rows(), 2);
    EXPECT_EQ(g->TextMatrix(1, 0), "solo");
    EXPECT_EQ(g->Row(), 1);               // the current row stays within the grid
    // The last data row is cut by Rows = 1, not removed.
    EXPECT_NE(errorOf([&] { g->RemoveItem(1); }), 0);
    EXPECT_EQ(errorOf([&] { g->RemoveItem(0); }), Err::SubscriptOutOfRange);
    g->Clear();
    EXPECT_EQ(g->Rows(), 2);
    EXPECT_EQ(g->Cols(), 2);
    EXPECT_EQ(g->TextMatrix(0, 0), "");
    EXPECT_EQ(g->TextMatrix(1, 0), "");
}

TEST_F(FlexGridTest, TheViewShowsTheStoreOnceItIsBroughtUpToDate)
{
    fill(3);
    g->setColWidth(1, 0);
    g->setColWidth(0, 1500);
    QTableView* v = g->view();
    g->sync();
    EXPECT_EQ(v->model()->rowCount(), 3);
    EXPECT_EQ(v->model()->columnCount(), 2);
    EXPECT_EQ(v->model()->headerData(0, Qt::Horizontal).toString(), "A");
    EXPECT_EQ(v->model()->index(2, 0).data().toString(), "r3");
    EXPECT_TRUE(v->isColumnHidden(1));
    EXPECT_EQ(v->columnWidth(0), 100);
    EXPECT_EQ(g->ColWidth(1), 0);

    // Many changes, one deferred reset: the view catches up when the events run.
    for (int i = 0; i < 1000; ++i)
        g->AppendRow({"x", "y"});
    EXPECT_EQ(v->model()->rowCount(), 3);
    QApplication::processEvents();
    EXPECT_EQ(v->model()->rowCount(), 1003);

    // The selection shown is the grid's.
    g->setRow(2);
    g->setCol(0);
    g->setRowSel(3);
    g->setColSel(1);
    g->sync();
    EXPECT_TRUE(v->selectionModel()->isSelected(v->model()->index(1, 0)));
    EXPECT_TRUE(v->selectionModel()->isSelected(v->model()->index(2, 1)));
    EXPECT_FALSE(v->selectionModel()->isSelected(v->model()->index(0, 0)));
    g->setRow(0);   // the header row current: nothing selected
    g->sync();
    EXPECT_FALSE(v->selectionModel()->hasSelection());
}

TEST_F(FlexGridTest, GenericSortComparesNumbersAsNumbersAndNumericSortReadsTextAsZero)
{
    fill(0);
    for (const char* t : {"10", "9", "100", "banana", "Albicocca", "1,5"})
        g->AppendRow({t, ""});
    g->setCol(0);
    g->Sort(flexSortGenericAscending);
    // Numbers among themselves by value; texts without regard to case.
    const QStringList asc = column(*g, 0);
    EXPECT_LT(asc.indexOf("1,5"), asc.indexOf("9"));
    EXPECT_LT(asc.indexOf("9"), asc.indexOf("10"));
    EXPECT_LT(asc.indexOf("10"), asc.indexOf("100"));
    EXPECT_LT(asc.indexOf("Albicocca"), asc.indexOf("banana"));
    g->Sort(flexSortGenericDescending);
    const QStringList desc = column(*g, 0);
    EXPECT_LT(desc.indexOf("100"), desc.indexOf("9"));
    EXPECT_LT(desc.indexOf("banana"), desc.indexOf("Albicocca"));

    fill(0);
    for (const char* t : {"5", "b", "-1", "1.234,5", "a"})
        g->AppendRow({t, t});
    g->setCol(1);
    g->Sort(flexSortNumericAscending);
    // "b" and "a" both count 0 and keep their order.
    EXPECT_EQ(column(*g, 0), QStringList({"-1", "b", "a", "5", "1.234,5"}));
    g->Sort(flexSortNumericDescending);
    EXPECT_EQ(column(*g, 0), QStringList({"1.234,5", "5", "b", "a", "-1"}));
    EXPECT_EQ(g->TextMatrix(0, 0), "A");   // the header row never moves
}

TEST_F(FlexGridTest, TopRowAndVisibleRowsFollowTheGridsHeight)
{
    fill(50);
    g->setRowHeight(-1, 300);   // 20 pixels a row
    const int full = g->fullPageRows();
    const int part = g->partPageRows();
    ASSERT_GE(full, 5);
    EXPECT_LE(part - full, 1);
    EXPECT_EQ(g->TopRow(), 1);
    g->setTopRow(10);
    EXPECT_EQ(g->TopRow(), 10);
    EXPECT_TRUE(g->RowIsVisible(0));
    EXPECT_FALSE(g->RowIsVisible(9));
    EXPECT_TRUE(g->RowIsVisible(10));
    EXPECT_TRUE(g->RowIsVisible(10 + part - 1));
    EXPECT_FALSE(g->RowIsVisible(10 + part));
    EXPECT_FALSE(g->RowIsVisible(51));
    // The last page ends with the last row.
    g->setTopRow(50);
    EXPECT_EQ(g->TopRow(), 51 - full);
    EXPECT_TRUE(g->RowIsVisible(50));
    g->sync();
    EXPECT_EQ(g->view()->verticalScrollBar()->value(), g->TopRow() - 1);
    g->setLeftCol(1);
    EXPECT_EQ(g->LeftCol(), 1);
}

TEST_F(FlexGridTest, ClicksMoveTheCurrentCellBeforeTheHandlersRun)
{
    fill(5);
    record();
    g->UserClickCell(3, 1);
    EXPECT_EQ(log, QStringList({"down 1 row 3 col 1 data", "sel", "up 1", "click"}));
    EXPECT_EQ(g->RowSel(), 3);
    log.clear();
    // A header press makes its column current over the data rows and reads as above row 1.
    g->UserClickHeader(0);
    EXPECT_EQ(log, QStringList({"down 1 row 1 col 0 header", "sel", "up 1", "click"}));
    EXPECT_EQ(g->RowSel(), 5);
    log.clear();
    g->UserDoubleClickCell(2, 0);
    EXPECT_EQ(log, QStringList({"down 1 row 2 col 0 data", "sel", "up 1", "click", "dbl", "up 1"}));
}

TEST_F(FlexGridTest, RealMouseAndKeysOnTheViewGiveTheSameEvents)
{
    fill(5);
    g->setRowHeight(-1, 300);
    form.Show();
    g->sync();
    record();
    QTableView* v = g->view();
    const QRect cell = v->visualRect(v->model()->index(1, 1));   // grid row 2
    const QPointF at = cell.center();
    QMouseEvent press(QEvent::MouseButtonPress, at, v->viewport()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, v->viewport()->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(v->viewport(), &press);
    QApplication::sendEvent(v->viewport(), &release);
    EXPECT_EQ(log, QStringList({"down 1 row 2 col 1 data", "sel", "up 1", "click"}));
    log.clear();

    const QPointF h(v->horizontalHeader()->sectionViewportPosition(0) + 10, 5);
    QMouseEvent hpress(QEvent::MouseButtonPress, h, v->horizontalHeader()->mapToGlobal(h), Qt::LeftButton,
                       Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(v->horizontalHeader()->viewport(), &hpress);
    EXPECT_EQ(log.value(0), "down 1 row 1 col 0 header");
    log.clear();

    g->setRow(2);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(v, &down);
    EXPECT_EQ(log, QStringList({"key 40 0", "sel"}));
    EXPECT_EQ(g->Row(), 3);
    // A key the grid has no use for goes on to the window.
    log.clear();
    QKeyEvent f5(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier);
    QApplication::sendEvent(v, &f5);
    EXPECT_EQ(log, QStringList({"key 116 0"}));
    EXPECT_FALSE(f5.isAccepted());
    // A handler that takes the key stops the grid's own move.
    g->KeyDown = [](int& k, int) { k = 0; };
    QApplication::sendEvent(v, &down);
    EXPECT_EQ(g->Row(), 3);
    form.Hide();
}

TEST_F(FlexGridTest, WithTheHeaderRowCurrentNoDataRowIsAndDownGoesToTheFirst)
{
    fill(5);
    g->setRow(0);   // as every fill ends
    form.Show();
    g->sync();
    QTableView* v = g->view();
    EXPECT_FALSE(v->currentIndex().isValid());
    EXPECT_FALSE(v->selectionModel()->hasSelection());
    // Taking the focus from the keyboard does not make a data cell current either.
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(v, &focusIn);
    EXPECT_FALSE(v->currentIndex().isValid());

    record();
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(v, &down);
    EXPECT_EQ(log, QStringList({"key 40 0", "sel"}));
    EXPECT_EQ(g->Row(), 1);
    EXPECT_EQ(g->RowSel(), 1);
    g->sync();
    EXPECT_EQ(v->currentIndex().row(), 0);   // the view's first row is grid row 1
    QApplication::sendEvent(v, &down);
    EXPECT_EQ(g->Row(), 2);

    // Up from the header row stays on the first data row; Page Down goes a page down from above it.
    g->setRow(0);
    g->UserPressKey(38);
    EXPECT_EQ(g->Row(), 1);
    fill(40);
    g->setRow(1);
    g->UserPressKey(34);
    const int fromFirst = g->Row();
    g->setRow(0);
    g->UserPressKey(34);
    EXPECT_EQ(g->Row(), fromFirst - 1);
    form.Hide();
}

TEST_F(FlexGridTest, TextWidthIsMeasuredInTheGridsFont)
{
    QFont f("DejaVu Sans", 12, QFont::Bold);
    g->setFont(f);
    EXPECT_EQ(g->Font().pointSize(), 12);
    EXPECT_TRUE(g->Font().bold());
    EXPECT_DOUBLE_EQ(g->TextWidth("Descrizione"), QFontMetricsF(g->Font()).horizontalAdvance("Descrizione") * 15);
    EXPECT_GT(g->TextWidth("WWWW"), g->TextWidth("iiii"));
    // The rows follow a larger font unless their height was set.
    EXPECT_GE(g->RowHeight(1), ToTwips(QFontMetrics(g->Font()).height()));
}

TEST_F(FlexGridTest, TextsGivenAsUtf8AreKeptAsAQStringReadsThem)
{
    // As a database gives them: well-formed or not, with or without a byte-order mark.
    const std::vector<QByteArray> given = {
        "plain", "Città più", "\xF0\x9F\x98\x80 faccina", "\xFF" "bad", "tronco \xE2\x82", "\xC0\xAF" "lungo",
        "\xED\xA0\x80" "meta", "\xEF\xBB\xBF" "segno in testa", "segno \xEF\xBB\xBF" "dentro", QByteArray("nul\0byte", 8),
        "\xF4\x90\x80\x80" "oltre", "", "\"virgolette\""};
    std::vector<std::string_view> cells;
    for (const QByteArray& b : given)
        cells.emplace_back(b.constData(), static_cast<size_t>(b.size()));
    g->setRows(1);
    g->setCols(static_cast<int>(given.size()));
    g->AppendRow(cells.data(), cells.size());
    ASSERT_EQ(g->Rows(), 2);
    for (size_t c = 0; c < given.size(); ++c) {
        const QString read = QString::fromUtf8(given[c]);
        EXPECT_EQ(g->TextMatrix(1, static_cast<int>(c)), read) << c;
        // What the CSV export writes: the text as UTF-8.
        const std::string_view held = g->Cells().cell(1, static_cast<int>(c));
        EXPECT_EQ(QByteArray(held.data(), static_cast<qsizetype>(held.size())), read.toUtf8()) << c;
    }
    // Texts that come as QStrings, a lone surrogate among them.
    const QString odd = QStringLiteral("Niccolò ") + QChar(0xD800) + QStringLiteral(" €");
    g->setTextMatrix(1, 0, odd);
    EXPECT_EQ(g->TextMatrix(1, 0), QString::fromUtf8(odd.toUtf8()));
    g->AppendRow({QStringLiteral("à"), QString(), QStringLiteral("x")});
    EXPECT_EQ(g->TextMatrix(2, 0), QStringLiteral("à"));
    EXPECT_EQ(g->TextMatrix(2, 1), QString());
    EXPECT_EQ(g->TextMatrix(2, 2), QStringLiteral("x"));
    // Fewer texts than columns leave the rest empty; more are dropped.
    g->AppendRow(cells.data(), 1);
    EXPECT_EQ(g->TextMatrix(3, 0), QStringLiteral("plain"));
    EXPECT_EQ(g->TextMatrix(3, 1), QString());
}

TEST_F(FlexGridTest, LongTextsRewritesCutsAndSortsKeepEveryOtherCell)
{
    // What the grid must hold, kept beside it.
    std::vector<QStringList> want;
    const auto check = [&](const char* step) {
        ASSERT_EQ(g->Rows(), static_cast<int>(want.size())) << step;
        for (int r = 0; r < g->Rows(); ++r)
            for (int c = 0; c < g->Cols(); ++c)
                ASSERT_EQ(g->TextMatrix(r, c), want[r][c]) << step << " row " << r << " col " << c;
    };
    g->setRows(1);
    g->setCols(3);
    want.push_back({"Chiave", "Testo", "Altro"});
    for (int c = 0; c < 3; ++c)
        g->setTextMatrix(0, c, want[0][c]);
    for (int i = 1; i <= 400; ++i) {
        want.push_back({QString::number(1000 - i), QStringLiteral("riga %1 è qui").arg(i), i % 5 ? QStringLiteral("x") : QString()});
        g->AppendRow(std::vector<QString>(want.back().begin(), want.back().end()));
    }
    // A text longer than many pages, and a row of them.
    const QString huge = QString(300000, QChar(u'é')) + QStringLiteral("fine");
    g->setTextMatrix(7, 1, huge);
    want[7][1] = huge;
    g->AppendRow({QStringLiteral("1"), huge, huge});
    want.push_back({QStringLiteral("1"), huge, huge});
    check("long texts");

    // One cell rewritten many times: what it held before must not pile up, nor disturb the rest.
    for (int k = 0; k < 3000; ++k) {
        const QString text = QString(700, QChar(u'a' + k % 26)) + QString::number(k);
        g->setTextMatrix(3, 2, text);
        want[3][2] = text;
    }
    check("rewrites");

    g->Sort(flexSortGenericAscending);   // column 0 is current: numbers
    std::stable_sort(want.begin() + 1, want.end(), [](const QStringList& a, const QStringList& b) { return a[0].toInt() < b[0].toInt(); });
    check("sort");

    g->RemoveItem(2);
    want.erase(want.begin() + 2);
    g->setRows(150);
    want.resize(150);
    g->setCols(2);
    for (QStringList& row : want)
        row.removeLast();
    check("cuts");

    g->Clear();
    for (QStringList& row : want)
        for (QString& cell : row)
            cell.clear();
    check("clear");
    g->AppendRow({QStringLiteral("ancora"), QStringLiteral("dopo")});
    want.push_back({QStringLiteral("ancora"), QStringLiteral("dopo")});
    check("after clear");
}

TEST_F(FlexGridTest, RowsOfALongFillHaveTheGridsRowHeight)
{
    g->setRowHeight(-1, 450);
    g->setRows(1);
    for (int i = 0; i < 2000; ++i)
        g->AppendRow({QString::number(i), QStringLiteral("b")});
    g->sync();
    QTableView* v = g->view();
    ASSERT_EQ(v->model()->rowCount(), 2000);
    EXPECT_EQ(v->rowHeight(0), ToPixels(450));
    EXPECT_EQ(v->rowHeight(1999), ToPixels(450));
    g->setRowHeight(1, 300);
    g->sync();
    EXPECT_EQ(v->rowHeight(0), ToPixels(300));
    EXPECT_EQ(v->rowHeight(1999), ToPixels(300));
}
