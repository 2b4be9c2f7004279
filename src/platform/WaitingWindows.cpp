#include "platform/WaitingWindows.h"
#include "platform/FormInstances.h"
#include "platform/FormWindow.h"
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>
#if defined(VERBANTO_XCB) && QT_CONFIG(xcb)
#include <cstdint>
#include <cstdlib>
#include <xcb/xcb.h>
#define VERBANTO_X11 1
#endif

namespace platform {

namespace {

// The windows the program waits on, in the order they came: the innermost last.
std::vector<QPointer<QWidget>>& waiting()
{
    static std::vector<QPointer<QWidget>> v;
    return v;
}

void forget(QWidget* w)
{
    auto& v = waiting();
    v.erase(std::remove_if(v.begin(), v.end(), [w](const QPointer<QWidget>& p) { return !p || p == w; }), v.end());
}

// Qt tells a window when a modal one starts or stops blocking it; the window keeps the answer.
constexpr char kBlocked[] = "verbantoBlocked";

bool blocked(const QWidget* w) { return w->property(kBlocked).toBool(); }

// A dialog the platform runs is shown anew when it comes back from minimised (FormWindows are
// too); Qt's own dialogs that run inside Qt are only restored.
constexpr char kShowsAnew[] = "verbantoShowsAnew";
bool reshowing = false;

// Ends the wait of a dialog hidden other than to be shown anew.
class DialogHidden : public QObject {
public:
    explicit DialogHidden(QEventLoop& loop) : loop_(loop) {}
    bool eventFilter(QObject*, QEvent* ev) override
    {
        if (ev->type() == QEvent::Hide && !ev->spontaneous() && !reshowing)
            loop_.quit();
        return false;
    }
private:
    QEventLoop& loop_;
};

#ifdef VERBANTO_X11
// The window's WM_STATE as its window manager keeps it: -1 when there is none, else 0 withdrawn,
// 1 normal, 3 minimised.
long wmState(xcb_connection_t* c, xcb_window_t window)
{
    static const xcb_atom_t atom = [c] {
        xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, 8, "WM_STATE"), nullptr);
        const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(r);
        return a;
    }();
    if (atom == XCB_ATOM_NONE)
        return -1;
    xcb_get_property_reply_t* r = xcb_get_property_reply(c, xcb_get_property(c, 0, window, atom, atom, 0, 1), nullptr);
    const long state = r && r->format == 32 && xcb_get_property_value_length(r) >= 4
                           ? long(*static_cast<const uint32_t*>(xcb_get_property_value(r)))
                           : -1;
    std::free(r);
    return state;
}
#endif

// Hides a window that is shown again at once. The window manager lets a hidden window go in its
// own time and erases the window's states as it does: a map that came first would lose those Qt
// wrote for it (modal, no longer minimised). So on X11 the hide waits until the window manager has
// let the window go, a fraction of a second at most, with no other event of the program handled
// meanwhile. Nothing waits where there is no X11, or no window manager keeps the window.
void hideUntilWithdrawn(QWidget* w)
{
#ifdef VERBANTO_X11
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    const auto window = static_cast<xcb_window_t>(w->internalWinId());
    if (c && window && wmState(c, window) > 0) {   // only a window manager writes WM_STATE
        w->hide();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
        while (wmState(c, window) > 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return;
    }
#endif
    w->hide();
}

void showWindowAnew(QWidget* w)
{
    reshowing = true;
    // Restored first, while the window manager still keeps it: Qt maps a window the moment it
    // leaves minimised, hidden or not (a dialog leaves it too when it centres itself as it shows),
    // and a window mapped before its show wrote its states would come without them.
    w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
    hideUntilWithdrawn(w);
    w->show();
    reshowing = false;
}

void queueBringToFront()
{
    static bool queued = false;
    if (queued)
        return;
    queued = true;
    // Once the event that asked for it is done: the window system's own work comes first.
    QTimer::singleShot(0, qApp, [] {
        queued = false;
        BringWaitingToFront();
    });
}

class ModalWatch : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* ev) override
    {
        if (!o->isWidgetType())
            return false;
        auto* w = static_cast<QWidget*>(o);
        if (!w->isWindow())
            return false;
        switch (ev->type()) {
        case QEvent::Show:
            // A spontaneous show is the window system's restoring a window that stayed open.
            if (!ev->spontaneous())
                shown(w);
            break;
        case QEvent::Hide:
            if (!ev->spontaneous())
                forget(w);
            break;
        case QEvent::WindowBlocked:
            w->setProperty(kBlocked, true);
            break;
        case QEvent::WindowUnblocked:
            w->setProperty(kBlocked, false);
            break;
        case QEvent::WindowActivate:
        case QEvent::WindowStateChange:
            // A window under a waiting one came back (from the window manager's list, a click, the
            // icon): the one it waits for comes along, on top, even from minimised.
            if (blocked(w) && !(w->windowState() & Qt::WindowMinimized) && !waiting().empty())
                queueBringToFront();
            break;
        default:
            break;
        }
        return false;
    }

private:
    static void shown(QWidget* w)
    {
        // Qt's own dialogs are modal to the whole program unless told otherwise: made modal to the
        // window they open over just before they show, they leave the notification icon alive.
        auto* dialog = qobject_cast<QDialog*>(w);
        if (dialog && dialog->parentWidget() && dialog->windowModality() == Qt::ApplicationModal) {
            dialog->setWindowModality(Qt::WindowModal);
            if (QWindow* handle = dialog->windowHandle())   // made already with the modality it had
                handle->setModality(Qt::WindowModal);
        }
        if (w->windowModality() != Qt::NonModal && w->windowType() != Qt::Popup) {
            forget(w);
            waiting().emplace_back(w);
        }
    }
};

} // namespace

void WatchWaitingWindows()
{
    static const bool watching = [] {
        qApp->installEventFilter(new ModalWatch(qApp));
        return true;
    }();
    Q_UNUSED(watching);
}

bool RunDialog(QDialog* dialog, const std::function<void(QDialog&)>& read)
{
    WatchWaitingWindows();
    const QPointer<QDialog> alive = dialog;
    if (!Forms::Ending()) {
        // A loop of its own rather than exec(): bringing the dialog back from minimised shows it
        // anew, and a hide ends exec() as if the dialog was cancelled.
        QEventLoop loop;
        QObject::connect(dialog, &QDialog::finished, &loop, &QEventLoop::quit);
        QObject::connect(dialog, &QObject::destroyed, &loop, &QEventLoop::quit);
        DialogHidden hidden(loop);
        dialog->installEventFilter(&hidden);
        dialog->setProperty(kShowsAnew, true);
        dialog->setWindowModality(dialog->parentWidget() ? Qt::WindowModal : Qt::ApplicationModal);
        dialog->show();
        if (dialog->isVisible())
            loop.exec(QEventLoop::DialogExec);
    }
    if (!alive)
        return false;   // it went with the window it was made for
    const bool answered = !Forms::Ending();
    if (answered && read)
        read(*dialog);
    delete dialog;
    return answered;
}

void BringWaitingToFront()
{
    forget(nullptr);
    std::vector<QPointer<QWidget>> windows = waiting();
    windows.erase(std::remove_if(windows.begin(), windows.end(), [](const QPointer<QWidget>& w) { return !w->isVisible(); }),
                  windows.end());
    if (windows.empty())
        return;
    const auto minimised = [](const QPointer<QWidget>& w) { return (w->windowState() & Qt::WindowMinimized) != 0; };
    const auto firstMinimised = std::find_if(windows.begin(), windows.end(), minimised);
    // A window minimised with the one it belongs to, which was hidden meanwhile, is shown anew:
    // the window manager learns again which window it belongs to, and minimises the two together
    // next time. Every waiting window after it is shown anew too, in order: a window shown again
    // counts as the newest modal one, and must still be blocked by what waits over it.
    const bool showAnew = std::all_of(firstMinimised, windows.end(), [](const QPointer<QWidget>& w) {
        return w->property(kShowsAnew).toBool() || dynamic_cast<FormWindow*>(w.data());
    });
    for (auto it = windows.begin(); it != windows.end(); ++it) {
        QWidget* w = *it;
        if (!w)
            continue;
        if (showAnew && it >= firstMinimised) {
            showWindowAnew(w);
        } else if (minimised(*it)) {
            w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
        }
        w->raise();
    }
    if (QWidget* innermost = windows.back())
        innermost->activateWindow();
}

bool DialogWaiting()
{
    return std::any_of(waiting().begin(), waiting().end(), [](const QPointer<QWidget>& w) {
        return w && w->isVisible() && !dynamic_cast<FormWindow*>(w.data());
    });
}

} // namespace platform
