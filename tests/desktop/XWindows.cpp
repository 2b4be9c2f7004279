#include "desktop/XWindows.h"
#include <QDeadlineTimer>
#include <poll.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace desktop {

namespace {
// Windows come and go while the test looks at them: an error about one that went is no fault.
int ignoreErrors(::Display*, XErrorEvent*) { return 0; }

::Display* dpy(void* d) { return static_cast<::Display*>(d); }

// The raw items of a 32-bit property (Xlib hands them over as longs).
std::vector<unsigned long> items(::Display* d, ::Window w, const QString& property)
{
    std::vector<unsigned long> out;
    const Atom atom = XInternAtom(d, property.toLatin1().constData(), False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(d, w, atom, 0, 1024, False, AnyPropertyType, &type, &format, &count, &after, &data) == Success &&
        data) {
        if (format == 32) {
            const auto* values = reinterpret_cast<const unsigned long*>(data);
            out.assign(values, values + count);
        }
        XFree(data);
    }
    return out;
}

QString windowName(::Display* d, ::Window w)
{
    const Atom netName = XInternAtom(d, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    QString name;
    if (XGetWindowProperty(d, w, netName, 0, 1024, False, utf8, &type, &format, &count, &after, &data) == Success && data) {
        name = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<int>(count));
        XFree(data);
        return name;
    }
    char* plain = nullptr;
    if (XFetchName(d, w, &plain) && plain) {
        name = QString::fromLocal8Bit(plain);
        XFree(plain);
    }
    return name;
}
} // namespace

XConnection::XConnection(const QString& display)
{
    XSetErrorHandler(ignoreErrors);
    display_ = XOpenDisplay(display.toLocal8Bit().constData());
}

XConnection::~XConnection()
{
    if (!display_)
        return;
    if (marker_)
        XDestroyWindow(dpy(display_), marker_);
    XCloseDisplay(dpy(display_));
}

bool XConnection::SelectionOwned(const QString& selection)
{
    if (!display_)
        return false;
    const Atom atom = XInternAtom(dpy(display_), selection.toLatin1().constData(), False);
    return XGetSelectionOwner(dpy(display_), atom) != 0;
}

void XConnection::collect(unsigned long window, const QString& wmClass, bool inClient, std::vector<WindowInfo>& out)
{
    ::Display* d = dpy(display_);
    ::Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(d, window, &root, &parent, &children, &count))
        return;
    for (unsigned int i = 0; i < count; ++i) {
        const ::Window w = children[i];
        XWindowAttributes a;
        if (!XGetWindowAttributes(d, w, &a) || a.map_state != IsViewable)
            continue;   // nothing inside an unviewable window is viewable either
        XClassHint hint{nullptr, nullptr};
        const bool client = XGetClassHint(d, w, &hint);
        if (client) {
            const bool match = hint.res_class && wmClass == QLatin1String(hint.res_class);
            XFree(hint.res_name);
            XFree(hint.res_class);
            if (match) {
                int x = 0, y = 0;
                ::Window unused = 0;
                XTranslateCoordinates(d, w, root, 0, 0, &x, &y, &unused);
                out.push_back({w, windowName(d, w), QRect(x, y, a.width, a.height), a.override_redirect != 0, inClient});
            }
        }
        collect(w, wmClass, inClient || client, out);
    }
    if (children)
        XFree(children);
}

std::vector<WindowInfo> XConnection::Windows(const QString& wmClass)
{
    std::vector<WindowInfo> out;
    if (display_) {
        XSync(dpy(display_), False);
        collect(DefaultRootWindow(dpy(display_)), wmClass, false, out);
    }
    return out;
}

std::vector<unsigned long> XConnection::NumberProperty(unsigned long id, const QString& property)
{
    if (!display_)
        return {};
    return items(dpy(display_), id ? id : DefaultRootWindow(dpy(display_)), property);
}

QStringList XConnection::AtomProperty(unsigned long id, const QString& property)
{
    QStringList names;
    for (unsigned long atom : NumberProperty(id, property)) {
        char* name = XGetAtomName(dpy(display_), atom);
        if (name) {
            names << QString::fromLatin1(name);
            XFree(name);
        }
    }
    return names;
}

QImage XConnection::Grab(unsigned long id)
{
    if (!display_)
        return {};
    ::Display* d = dpy(display_);
    if (!id)
        id = DefaultRootWindow(d);
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, id, &a))
        return {};
    XImage* shot = XGetImage(d, id, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
    if (!shot)
        return {};
    QImage image(a.width, a.height, QImage::Format_RGB32);
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            image.setPixel(x, y, static_cast<QRgb>(XGetPixel(shot, x, y)) | 0xff000000u);   // a 24-bit TrueColor screen
    XDestroyImage(shot);
    return image;
}

void XConnection::WatchMaps()
{
    if (!display_)
        return;
    ::Display* d = dpy(display_);
    XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
    XSync(d, True);
}

unsigned long XConnection::NextMenuMap(const QString& wmClass, int timeoutMs)
{
    if (!display_)
        return 0;
    ::Display* d = dpy(display_);
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        while (XPending(d)) {
            XEvent ev;
            XNextEvent(d, &ev);
            if (ev.type != MapNotify || !ev.xmap.override_redirect)
                continue;
            const ::Window w = ev.xmap.window;
            XClassHint hint{nullptr, nullptr};
            if (!XGetClassHint(d, w, &hint))
                continue;
            const bool match = hint.res_class && wmClass == QLatin1String(hint.res_class);
            XFree(hint.res_name);
            XFree(hint.res_class);
            // A menu, not a tooltip nor the balloon (which are tooltips too).
            XWindowAttributes a;
            if (match && XGetWindowAttributes(d, w, &a) && a.width > 64 &&
                !AtomProperty(w, QStringLiteral("_NET_WM_WINDOW_TYPE")).contains(QStringLiteral("_NET_WM_WINDOW_TYPE_TOOLTIP")))
                return w;
        }
        if (deadline.hasExpired())
            return 0;
        pollfd p{ConnectionNumber(d), POLLIN, 0};
        poll(&p, 1, static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
    }
}

void XConnection::RequestClose(unsigned long window)
{
    if (!display_)
        return;
    ::Display* d = dpy(display_);
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = window;
    e.xclient.message_type = XInternAtom(d, "_NET_CLOSE_WINDOW", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = CurrentTime;
    e.xclient.data.l[1] = 2;   // from a pager or the like, on the user's behalf
    XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    XFlush(d);
}

long XConnection::Ping(unsigned long window)
{
    if (!display_)
        return 0;
    ::Display* d = dpy(display_);
    // The answer goes to the root window, for the clients that watch its structure (Qt) or its
    // substructure (as the standard has it).
    XSelectInput(d, DefaultRootWindow(d), StructureNotifyMask | SubstructureNotifyMask);
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = window;
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "_NET_WM_PING", False));
    e.xclient.data.l[1] = ++pings_;   // the timestamp, which the client sends back as it was
    e.xclient.data.l[2] = static_cast<long>(window);
    XSendEvent(d, window, False, NoEventMask, &e);
    XFlush(d);
    return pings_;
}

bool XConnection::Pong(long since, int timeoutMs)
{
    if (!display_)
        return false;
    ::Display* d = dpy(display_);
    const Atom protocols = XInternAtom(d, "WM_PROTOCOLS", False);
    const long ping = static_cast<long>(XInternAtom(d, "_NET_WM_PING", False));
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        while (XPending(d)) {
            XEvent ev;
            XNextEvent(d, &ev);
            if (ev.type == ClientMessage && ev.xclient.message_type == protocols && ev.xclient.data.l[0] == ping &&
                ev.xclient.data.l[1] >= since)
                return true;
        }
        if (deadline.hasExpired())
            return false;
        pollfd p{ConnectionNumber(d), POLLIN, 0};
        poll(&p, 1, static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
    }
}

QPoint XConnection::Pointer(bool* buttonDown)
{
    if (buttonDown)
        *buttonDown = false;
    if (!display_)
        return {};
    ::Display* d = dpy(display_);
    ::Window root = 0, child = 0;
    int x = 0, y = 0, inX = 0, inY = 0;
    unsigned int mask = 0;
    if (!XQueryPointer(d, DefaultRootWindow(d), &root, &child, &x, &y, &inX, &inY, &mask))
        return {};
    if (buttonDown)
        *buttonDown = mask & (Button1Mask | Button2Mask | Button3Mask | Button4Mask | Button5Mask);
    return QPoint(x, y);
}

bool XConnection::WindowManagerDone(int timeoutMs)
{
    if (!display_)
        return false;
    ::Display* d = dpy(display_);
    const ::Window root = DefaultRootWindow(d);
    // A window of the test's own, never mapped: the window manager is asked the size of the frame
    // it would give it, and answers by setting a property on it.
    if (!marker_) {
        marker_ = XCreateSimpleWindow(d, root, 0, 0, 1, 1, 0, 0, 0);
        XSelectInput(d, marker_, PropertyChangeMask);
    }
    const Atom extents = XInternAtom(d, "_NET_FRAME_EXTENTS", False);
    XDeleteProperty(d, marker_, extents);
    XSync(d, False);
    // What an earlier question left is no answer to this one.
    XEvent stale;
    while (XCheckTypedWindowEvent(d, marker_, PropertyNotify, &stale)) {
    }
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = marker_;
    e.xclient.message_type = XInternAtom(d, "_NET_REQUEST_FRAME_EXTENTS", False);
    e.xclient.format = 32;
    XSendEvent(d, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    XFlush(d);
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        XEvent ev;
        while (XCheckTypedWindowEvent(d, marker_, PropertyNotify, &ev))
            if (ev.xproperty.atom == extents && ev.xproperty.state == PropertyNewValue)
                return true;
        if (deadline.hasExpired())
            return false;
        pollfd p{ConnectionNumber(d), POLLIN, 0};
        poll(&p, 1, static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
        XEventsQueued(d, QueuedAfterReading);
    }
}

} // namespace desktop
