// Date order of a grid column, and the wheel: from a real wheel event over a hooked window to
// one page of the grid under the pointer.
#include "harness/TestEnv.h"
#include "platform/FlexGrid.h"
#include "platform/WheelFilter.h"
#include "shared/basGeneralCustom.h"
#include "shared/basGeneralCustomSort.h"
#include "shared/basMouseWheeleHooker.h"

#include <QApplication>
#include <QTableView>
#include <QWheelEvent>
#include <QWidget>

using namespace platform;
using namespace verbanto;

namespace {

class WheelForm : public Form, public WheelReceiver {
public:
    WheelForm() : Form("frmWheel") {}
    FlexGrid* grid = nullptr;
    Label* lbl = nullptr;
    QStringList calls;
    void CreateControls() override
    {
        grid = Add<FlexGrid>("MSFlexGrid1");
        grid->Move(150, 150, 4500, 3000);
        lbl = Add<Label>("lblNote", "Note");
        lbl->Move(150, 3600, 1500, 300);
    }
    void MouseWheel(long keys, long rotation, long x, long y) override
    {
        calls << QString("%1 %2 %3 %4").arg(keys).arg(rotation).arg(x).arg(y);
        for (Control* c : Controls())
            if (auto* g = dynamic_cast<FlexGrid*>(c); g && IsOver(c->hWnd(), x, y))
                FlexGridScroll(*g, keys, rotation, x, y);
    }
};

QStringList column(const FlexGrid& g, int c)
{
    QStringList out;
    for (int r = 1; r < g.Rows(); ++r)
        out << g.TextMatrix(r, c);
    return out;
}

// A window procedure that was there before the hook.
int previousCalls = 0;
long previousProcedure(long, long, long, long)
{
    ++previousCalls;
    return 42;
}

// The screen point at the middle of a widget.
QPoint centreOf(const QWidget* w) { return w->mapToGlobal(QPoint(w->width() / 2, w->height() / 2)); }

} // namespace

class GridSortWheelTest : public VerbantoTest {
protected:
    void SetUp() override
    {
        VerbantoTest::SetUp();
        form.Load();
        g = form.grid;
        g->setRowHeight(-1, 300);
    }
    void TearDown() override
    {
        if (form.Loaded())
            form.Unload();
        VerbantoTest::TearDown();
    }
    void fillNumbered(int n)
    {
        g->setRows(1);
        g->setCols(2);
        g->setTextMatrix(0, 0, "N");
        for (int i = 1; i <= n; ++i)
            g->AddItem(QString::number(i));
    }
    int lowestVisible() const
    {
        int r = g->TopRow();
        while (g->RowIsVisible(r + 1))
            ++r;
        return r;
    }
    // A wheel notch on the screen point as Qt delivers it: first to the widget under the pointer,
    // then, when that widget leaves it, to the window around it (the propagation Qt does for
    // the user's own wheel events). Returns whether the widget took the notch itself.
    bool wheel(QWidget* under, QPoint global, int rotation)
    {
        QWheelEvent e(under->mapFromGlobal(global), global, QPoint(), QPoint(0, rotation), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(under, &e);
        if (e.isAccepted())
            return true;
        QWidget* window = under->window();
        QWheelEvent up(window->mapFromGlobal(global), global, QPoint(), QPoint(0, rotation), Qt::NoButton, Qt::NoModifier,
                       Qt::NoScrollPhase, false);
        QApplication::sendEvent(window, &up);
        return false;
    }
    WheelForm form;
    FlexGrid* g = nullptr;
};

TEST_F(GridSortWheelTest, DateColumnSortsByDateWithEmptyCellsAtTheStartOrTheEnd)
{
    g->setRows(1);
    g->setCols(3);
    g->setTextMatrix(0, 1, "Data Scadenza");
    g->AddItem("a\t05/01/2024\tx");
    g->AddItem("b\t20/12/2023\tx");
    g->AddItem("c\t\tx");
    g->AddItem("d\t2023-12-31 10:00:00\tx");
    g->AddItem("e\t  \tx");
    g->setRow(2);

    sortGridByDate(*g, 1, 3);
    EXPECT_EQ(column(*g, 0), QStringList({"c", "e", "b", "d", "a"}));   // text order would put "a" before "b"
    EXPECT_EQ(g->Cols(), 3);
    EXPECT_EQ(g->Col(), 2);   // the last remaining column
    EXPECT_EQ(g->Row(), 2);
    EXPECT_EQ(g->TextMatrix(0, 1), "Data Scadenza");

    sortGridByDate(*g, 1, 4);
    EXPECT_EQ(column(*g, 0), QStringList({"a", "d", "b", "c", "e"}));
    EXPECT_EQ(g->Cols(), 3);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(GridSortWheelTest, ACellThatIsNoDateIsReportedAndTheGridStaysAsItWas)
{
    g->setRows(1);
    g->setCols(2);
    g->AddItem("a\t05/01/2024");
    g->AddItem("b\t31/02/2024");
    g->AddItem("c\t01/01/2020");
    sortGridByDate(*g, 1, 3);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].prompt, "Error 13 (Type mismatch) in procedure sortGridByDate of Modulo basGeneralCustom");
    EXPECT_EQ(column(*g, 0), QStringList({"a", "b", "c"}));
    EXPECT_EQ(g->Cols(), 2);   // no hidden helper column is left behind
}

TEST_F(GridSortWheelTest, ScrollingMovesOnePageAndStopsAtBothEnds)
{
    fillNumbered(60);
    const int n = static_cast<int>(g->Height() / g->RowHeight(1));
    ASSERT_LT(n, 60);

    const int lowest = lowestVisible();
    FlexGridScroll(*g, 0, -120, 0, 0);   // towards the user: down
    EXPECT_EQ(g->TopRow(), lowest);
    FlexGridScroll(*g, 0, -120, 0, 0);
    EXPECT_EQ(g->TopRow(), 2 * lowest - 1);

    FlexGridScroll(*g, 0, 120, 0, 0);    // away from the user: up, one page whatever the rotation
    EXPECT_EQ(g->TopRow(), lowest);
    FlexGridScroll(*g, 0, 360, 0, 0);
    EXPECT_EQ(g->TopRow(), 1);
    FlexGridScroll(*g, 0, 120, 0, 0);
    EXPECT_EQ(g->TopRow(), 1);

    for (int i = 0; i < 20; ++i)
        FlexGridScroll(*g, 0, -120, 0, 0);
    EXPECT_LE(g->TopRow(), g->Rows() - 1);
    EXPECT_TRUE(g->RowIsVisible(60));

    // A page larger than the list: nothing moves.
    fillNumbered(3);
    ASSERT_GT(n, g->Rows());
    FlexGridScroll(*g, 0, -120, 0, 0);
    EXPECT_EQ(g->TopRow(), 1);
}

TEST_F(GridSortWheelTest, AWheelNotchOverTheGridOfAHookedWindowScrollsIt)
{
    fillNumbered(60);
    form.Show();
    g->sync();
    WheelHook(form);
    EXPECT_NE(Wheel::GetProp(form.hWnd(), "PrevWndProc"), 0);
    const int lowest = lowestVisible();

    QWidget* viewport = g->view()->viewport();
    EXPECT_FALSE(wheel(viewport, centreOf(viewport), -120));   // the grid leaves it to its window
    ASSERT_EQ(form.calls.size(), 1);
    const QPoint c = centreOf(viewport);
    EXPECT_EQ(form.calls[0], QString("0 -120 %1 %2").arg(c.x()).arg(c.y()));
    EXPECT_EQ(g->TopRow(), lowest);

    // Over the window but outside the grid: the form hears it, the grid stays.
    wheel(form.lbl->Widget(), centreOf(form.lbl->Widget()), 120);
    EXPECT_EQ(form.calls.size(), 2);
    EXPECT_EQ(g->TopRow(), lowest);

    // Unhooked, the window no longer hears the wheel and the grid scrolls by itself.
    WheelUnhook(form);
    EXPECT_EQ(Wheel::GetProp(form.hWnd(), "PrevWndProc"), 0);
    EXPECT_TRUE(wheel(viewport, centreOf(viewport), 120));
    EXPECT_EQ(form.calls.size(), 2);
    EXPECT_LT(g->TopRow(), lowest);
    form.Hide();
}

TEST_F(GridSortWheelTest, TheWindowProcedureUnpacksTheMessageAndPassesOthersOn)
{
    fillNumbered(60);
    form.Show();
    WheelHook(form);
    const QPoint c = centreOf(g->Widget());
    const long p1 = Wheel::PackWheelKeys(Wheel::MK_SHIFT | Wheel::MK_LBUTTON, -240);
    EXPECT_EQ(WheelWndProc(form.hWnd(), 0x20A, p1, Wheel::PackPoint(c.x(), c.y())), 0);
    ASSERT_EQ(form.calls.size(), 1);
    EXPECT_EQ(form.calls[0], QString("5 -240 %1 %2").arg(c.x()).arg(c.y()));
    EXPECT_GT(g->TopRow(), 1);

    // A point left of or above the main screen keeps its sign; it lies over no window here.
    WheelWndProc(form.hWnd(), 0x20A, p1, Wheel::PackPoint(-5, -7));
    EXPECT_EQ(form.calls.size(), 1);

    // Other messages go straight to the previous procedure.
    EXPECT_EQ(WheelWndProc(form.hWnd(), 0x0F, 0, 0), 0);
    EXPECT_EQ(form.calls.size(), 1);

    // A child window's message over the form but outside the child reaches the form.
    const QPoint l = centreOf(form.lbl->Widget());
    EXPECT_EQ(WheelWndProc(g->hWnd(), 0x20A, p1, Wheel::PackPoint(l.x(), l.y())), 0);
    EXPECT_EQ(form.calls.size(), 2);
    EXPECT_EQ(FormFromHwnd(form.hWnd()), &form);
    EXPECT_EQ(FormFromHwnd(g->hWnd()), nullptr);
    WheelUnhook(form);
    form.Hide();
}

TEST_F(GridSortWheelTest, TheHookChainsToTheProcedureItReplacedAndPutsItBack)
{
    fillNumbered(60);
    form.Show();
    const long hwnd = form.hWnd();
    Wheel::SetWindowProc(hwnd, Wheel::ToProcedure(&previousProcedure));
    WheelHook(form);
    WheelHook(form);   // a second hook must not chain the hook to itself
    const QPoint l = centreOf(form.lbl->Widget());
    const long p1 = Wheel::PackWheelKeys(0, -120);
    // Over the window outside the grid: the form hears it, nothing scrolls, the old procedure runs.
    EXPECT_EQ(WheelWndProc(hwnd, 0x20A, p1, Wheel::PackPoint(l.x(), l.y())), 42);
    EXPECT_EQ(form.calls.size(), 1);
    EXPECT_EQ(g->TopRow(), 1);
    EXPECT_EQ(previousCalls, 1);
    EXPECT_EQ(WheelWndProc(hwnd, 0x0F, 0, 0), 42);
    EXPECT_EQ(previousCalls, 2);

    WheelUnhook(form);
    EXPECT_EQ(Wheel::SetWindowProc(hwnd, 0), Wheel::ToProcedure(&previousProcedure));
    form.Hide();
}
