// Mouse-wheel scrolling of the list grids: a hooked window's wheel messages reach its form's
// MouseWheel, which pages the grid under the pointer. No trace and no error report here: these
// run for every wheel notch.
#include "shared/basMouseWheeleHooker.h"
#include "platform/WheelFilter.h"

#include <QRect>
#include <cmath>

namespace verbanto {

namespace W = platform::Wheel;

namespace {

const QString PrevWndProc = QStringLiteral("PrevWndProc");

long callPrevious(long hwnd, long message, long p1, long p2)
{
    return W::CallWindowProc(W::GetProp(hwnd, PrevWndProc), hwnd, message, p1, p2);
}

void callMouseWheel(platform::Form* form, long keys, long rotation, long x, long y)
{
    if (auto* receiver = dynamic_cast<WheelReceiver*>(form))
        receiver->MouseWheel(keys, rotation, x, y);
}

} // namespace

void WheelHook(platform::Form& form)
{
    try {
        const long hwnd = form.hWnd();
        const long self = W::ToProcedure(&WheelWndProc);
        const long previous = W::SetWindowProc(hwnd, self);
        // Hooking twice must not make the procedure its own predecessor.
        if (previous != 0 && previous != self)
            W::SetProp(hwnd, PrevWndProc, previous);
    } catch (...) {
    }
}

void WheelUnhook(platform::Form& form)
{
    try {
        const long hwnd = form.hWnd();
        const long previous = W::GetProp(hwnd, PrevWndProc);
        if (previous != 0)
            W::SetWindowProc(hwnd, previous);
        W::RemoveProp(hwnd, PrevWndProc);
    } catch (...) {
    }
}

long WheelWndProc(long hwnd, long message, long p1, long p2)
{
    if (message != W::WM_MOUSEWHEEL)
        return callPrevious(hwnd, message, p1, p2);
    const long keys = p1 & 0xFFFF;
    const long rotation = static_cast<short>((p1 >> 16) & 0xFFFF);
    // Both coordinates are signed: a screen left of or above the main one has negative ones.
    const long x = static_cast<short>(p2 & 0xFFFF);
    const long y = static_cast<short>((p2 >> 16) & 0xFFFF);
    if (platform::Form* form = FormFromHwnd(hwnd)) {
        if (IsOver(form->hWnd(), x, y))
            callMouseWheel(form, keys, rotation, x, y);
        return callPrevious(hwnd, message, p1, p2);
    }
    // A child window: the form around it scrolls, unless a dropped-down combo list takes the wheel.
    const long parent = W::ParentOf(hwnd);
    if (!IsOver(hwnd, x, y) && parent != 0 && IsOver(parent, x, y) && !W::IsDroppedDownCombo(hwnd)) {
        platform::Form* owner = nullptr;   // a frame lies between a control and its form
        for (long p = parent; p != 0 && !owner; p = W::ParentOf(p))
            owner = FormFromHwnd(p);
        callMouseWheel(owner, keys, rotation, x, y);
        return 0;
    }
    return callPrevious(hwnd, message, p1, p2);
}

void FlexGridScroll(platform::FlexGrid& grid, long mouseKeys, long rotation, long xpos, long ypos)
{
    (void)mouseKeys;
    (void)xpos;
    (void)ypos;
    // Each statement goes on past a failure of the one before.
    long n = 0;
    try {
        n = static_cast<long>(std::floor(grid.Height() / grid.RowHeight(1)));
    } catch (...) {
    }
    try {
        if (n > grid.Rows())
            return;
    } catch (...) {
    }
    try {
        while (n > 0 && !grid.RowIsVisible(grid.TopRow() + static_cast<int>(n)))
            --n;
    } catch (...) {
    }
    long top = 1;
    try {
        top = grid.TopRow();
        if (rotation < 1)
            top = std::min<long>(top + n, grid.Rows() - 1);
        else
            top = std::max<long>(top - n, 1);
    } catch (...) {
    }
    try {
        grid.setTopRow(static_cast<int>(top));
    } catch (...) {
    }
}

bool IsOver(long hwnd, long x, long y)
{
    QRect r;
    int right = 0, bottom = 0;
    if (!W::WindowRect(hwnd, &r, &right, &bottom))
        return false;
    return x >= r.left() && x <= right && y >= r.top() && y <= bottom;
}

platform::Form* FormFromHwnd(long hwnd)
{
    for (platform::Form* f : platform::LoadedForms())
        if (f->hWnd() == hwnd)
            return f;
    return nullptr;
}

} // namespace verbanto
