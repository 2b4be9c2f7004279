#pragma once
// Mouse-wheel scrolling of the list grids: every wheel notch over a hooked window reaches its
// form's MouseWheel, which scrolls the grid under the pointer by one page.
#include "platform/FlexGrid.h"
#include "platform/Forms.h"

namespace verbanto {

// A form that takes wheel messages.
class WheelReceiver {
public:
    virtual ~WheelReceiver() = default;
    virtual void MouseWheel(long mouseKeys, long rotation, long xpos, long ypos) = 0;
};

void WheelHook(platform::Form& form);
void WheelUnhook(platform::Form& form);
// The window procedure: message 0x20A with its two parameters; returns the previous procedure's result.
long WheelWndProc(long hwnd, long message, long p1, long p2);
void FlexGridScroll(platform::FlexGrid& grid, long mouseKeys, long rotation, long xpos, long ypos);
bool IsOver(long hwnd, long x, long y);
platform::Form* FormFromHwnd(long hwnd);

} // namespace verbanto
