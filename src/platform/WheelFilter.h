#pragma once
// Window procedures, window properties and window rectangles by window handle, as the wheel
// hooker of the list windows uses them. A hooked window's wheel events reach its procedure as
// message 0x20A; a procedure that passes the message on to the previous (default) one lets Qt
// handle the event as usual, one that does not consumes it.
#include <QRect>
#include <QString>

class QWidget;

namespace platform {
namespace Wheel {

constexpr long WM_MOUSEWHEEL = 0x20A;
// Key and button flags of the wheel message's first parameter.
constexpr long MK_LBUTTON = 0x1;
constexpr long MK_RBUTTON = 0x2;
constexpr long MK_SHIFT = 0x4;
constexpr long MK_CONTROL = 0x8;
constexpr long MK_MBUTTON = 0x10;

using Procedure = long (*)(long hwnd, long message, long p1, long p2);

// Sets the window's procedure; returns the previous one (0 when no window has that handle).
long SetWindowProc(long hwnd, long procedure);
// Calls a procedure; the default one (and 0) hands the message back to Qt's own processing.
long CallWindowProc(long procedure, long hwnd, long message, long p1, long p2);
long ToProcedure(Procedure p);
bool IsHooked(long hwnd);

// Named whole numbers kept on a window.
void SetProp(long hwnd, const QString& name, long value);
long GetProp(long hwnd, const QString& name);   // 0 when none
void RemoveProp(long hwnd, const QString& name);

// The widget of a loaded form or control with that handle (nullptr when none).
QWidget* WidgetOf(long hwnd);
// The window's rectangle in screen pixels (right and bottom one past the last pixel).
bool WindowRect(long hwnd, QRect* rect, int* right = nullptr, int* bottom = nullptr);
// The handle of the window that holds a control's window (0 for a form or an unknown handle).
long ParentOf(long hwnd);
// Whether the handle is a combo box whose list is dropped down.
bool IsDroppedDownCombo(long hwnd);

// The packed parameters of the wheel message (16 bits each).
long PackWheelKeys(long keys, long rotation);
long PackPoint(long x, long y);

} // namespace Wheel
} // namespace platform
