// Kept apart: Xlib's macros (None, Bool, Status, ...) clash with Qt's and GoogleTest's names.
#include "desktop/XSelection.h"
#include <X11/Xlib.h>

namespace desktop {

bool SelectionOwned(const QString& display, const QString& selection)
{
    ::Display* d = XOpenDisplay(display.toLocal8Bit().constData());
    if (!d)
        return false;
    const Atom atom = XInternAtom(d, selection.toLatin1().constData(), False);
    const bool owned = XGetSelectionOwner(d, atom) != 0;
    XCloseDisplay(d);
    return owned;
}

} // namespace desktop
