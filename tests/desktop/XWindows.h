#pragma once
// A connection of the test's own to an X server, to look at windows quickly (a walk of the whole
// window tree with the command-line tools takes a second). Xlib stays inside XWindows.cpp: its
// macros clash with Qt's and GoogleTest's names.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

namespace desktop {

struct WindowInfo {
    unsigned long id = 0;
    QString name;
    QRect geometry;   // on the screen, without the window manager's frame
    bool overrideRedirect = false;
    bool embedded = false;   // inside another client's window (as an icon in the notification area)
};

class XConnection {
public:
    explicit XConnection(const QString& display);
    ~XConnection();
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;
    bool Ok() const { return display_ != nullptr; }

    // Whether some client owns the selection (a notification area owns "_NET_SYSTEM_TRAY_S0").
    bool SelectionOwned(const QString& selection);
    // The viewable windows of that class, anywhere in the tree (also inside the notification area).
    std::vector<WindowInfo> Windows(const QString& wmClass);
    // A property as atom names, or as numbers; the root window when id is 0.
    QStringList AtomProperty(unsigned long id, const QString& property);
    std::vector<unsigned long> NumberProperty(unsigned long id, const QString& property);
    // What the window shows.
    QImage Grab(unsigned long id);

    // From here on the maps of windows straight on the screen (menus, tooltips) are told as they
    // happen; those already told are forgotten.
    void WatchMaps();
    // Waits for a menu of that class to be mapped, without polling: its id, 0 when the
    // time is up first.
    unsigned long NextMenuMap(const QString& wmClass, int timeoutMs);

    // Asks the window manager to close the window, as its close box does.
    void RequestClose(unsigned long window);

    // Sends the window manager's ping to the window's client: its number. The client answers
    // from whatever event loop runs, nested modal ones included.
    long Ping(unsigned long window);
    // Waits for the answer to a ping from that number on: true when one came within the time.
    bool Pong(long since, int timeoutMs);

    // Where the pointer is, and whether a mouse button is down.
    QPoint Pointer(bool* buttonDown = nullptr);
    // Waits until the window manager has done what it was asked before now: it answers a question
    // of the test's own, which it reads after those. False when the time is up first.
    bool WindowManagerDone(int timeoutMs);

private:
    void collect(unsigned long window, const QString& wmClass, bool inClient, std::vector<WindowInfo>& out);
    void* display_ = nullptr;
    long pings_ = 0;
    unsigned long marker_ = 0;   // the window whose frame the window manager is asked about
};

} // namespace desktop
