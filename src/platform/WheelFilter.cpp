#include "platform/WheelFilter.h"
#include "platform/Forms.h"

#include <QEvent>
#include <QPointer>
#include <QWheelEvent>
#include <QWidget>
#include <cstdint>
#include <map>

namespace platform {
namespace Wheel {

namespace {

bool passedOn = false;   // set by the default procedure: the event goes on to Qt

long DefaultProc(long, long, long, long)
{
    passedOn = true;
    return 0;
}

struct Hooked {
    long procedure = 0;
    QPointer<QWidget> widget;
};

std::map<long, Hooked>& hooked()
{
    static std::map<long, Hooked> m;
    return m;
}

std::map<long, std::map<QString, long>>& props()
{
    static std::map<long, std::map<QString, long>> m;
    return m;
}

long keysOf(const QWheelEvent* e)
{
    long k = 0;
    const Qt::MouseButtons b = e->buttons();
    const Qt::KeyboardModifiers m = e->modifiers();
    if (b & Qt::LeftButton) k |= MK_LBUTTON;
    if (b & Qt::RightButton) k |= MK_RBUTTON;
    if (b & Qt::MiddleButton) k |= MK_MBUTTON;
    if (m & Qt::ShiftModifier) k |= MK_SHIFT;
    if (m & Qt::ControlModifier) k |= MK_CONTROL;
    return k;
}

// Hands a hooked window's wheel events to its procedure.
class Filter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Wheel)
            return false;
        for (auto& [hwnd, h] : hooked()) {
            if (h.widget != watched)
                continue;
            auto* we = static_cast<QWheelEvent*>(event);
            const int rotation = we->angleDelta().y() != 0 ? we->angleDelta().y() : we->angleDelta().x();
            if (rotation == 0)
                return false;
            const QPoint g = we->globalPosition().toPoint();
            const long handle = hwnd;
            const long proc = h.procedure;
            passedOn = false;
            Dispatch([&] { CallWindowProc(proc, handle, WM_MOUSEWHEEL, PackWheelKeys(keysOf(we), rotation), PackPoint(g.x(), g.y())); });
            // Passed on to the default procedure: Qt goes on with the event as usual.
            if (passedOn)
                return false;
            event->accept();
            return true;
        }
        return false;
    }
};

Filter* filter()
{
    static Filter* f = new Filter;
    return f;
}

} // namespace

long ToProcedure(Procedure p) { return reinterpret_cast<long>(p); }

QWidget* WidgetOf(long hwnd)
{
    if (hwnd == 0)
        return nullptr;
    for (Form* f : LoadedForms()) {
        if (f->hWnd() == hwnd)
            return f->Window();
        for (Control* c : f->Controls())
            if (c->Widget() && c->hWnd() == hwnd)
                return c->Widget();
    }
    return nullptr;
}

long SetWindowProc(long hwnd, long procedure)
{
    QWidget* w = WidgetOf(hwnd);
    if (!w)
        return 0;
    auto& m = hooked();
    auto it = m.find(hwnd);
    const long previous = (it != m.end() && it->second.widget == w) ? it->second.procedure : ToProcedure(&DefaultProc);
    if (procedure == 0 || procedure == ToProcedure(&DefaultProc)) {
        if (it != m.end()) {
            if (it->second.widget)
                it->second.widget->removeEventFilter(filter());
            m.erase(it);
        }
        return previous;
    }
    if (it == m.end() || it->second.widget != w) {
        m[hwnd] = Hooked{procedure, w};
        w->installEventFilter(filter());
    } else {
        it->second.procedure = procedure;
    }
    return previous;
}

long CallWindowProc(long procedure, long hwnd, long message, long p1, long p2)
{
    if (procedure == 0)
        return DefaultProc(hwnd, message, p1, p2);
    return reinterpret_cast<Procedure>(procedure)(hwnd, message, p1, p2);
}

bool IsHooked(long hwnd)
{
    if (hwnd == 0)
        return false;
    auto it = hooked().find(hwnd);
    return it != hooked().end() && it->second.widget;
}

void SetProp(long hwnd, const QString& name, long value) { props()[hwnd][name] = value; }

long GetProp(long hwnd, const QString& name)
{
    auto it = props().find(hwnd);
    if (it == props().end())
        return 0;
    auto p = it->second.find(name);
    return p == it->second.end() ? 0 : p->second;
}

void RemoveProp(long hwnd, const QString& name)
{
    auto it = props().find(hwnd);
    if (it == props().end())
        return;
    it->second.erase(name);
    if (it->second.empty())
        props().erase(it);
}

bool WindowRect(long hwnd, QRect* rect, int* right, int* bottom)
{
    QWidget* w = WidgetOf(hwnd);
    if (!w)
        return false;
    const QRect r = w->isWindow() ? w->frameGeometry() : QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
    if (rect)
        *rect = r;
    if (right)
        *right = r.x() + r.width();
    if (bottom)
        *bottom = r.y() + r.height();
    return true;
}

long ParentOf(long hwnd)
{
    QWidget* w = WidgetOf(hwnd);
    if (!w || w->isWindow())
        return 0;
    // The nearest holder that is itself a form or a control (a frame holds its controls).
    for (QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
        for (Form* f : LoadedForms()) {
            if (f->Window() == p)
                return f->hWnd();
            for (Control* c : f->Controls())
                if (c->Widget() == p)
                    return c->hWnd();
        }
    }
    return 0;
}

bool IsDroppedDownCombo(long hwnd)
{
    if (hwnd == 0)
        return false;
    for (Form* f : LoadedForms())
        for (Control* c : f->Controls())
            if (auto* combo = dynamic_cast<ComboBox*>(c); combo && c->hWnd() == hwnd)
                return combo->DroppedDown();
    return false;
}

long PackWheelKeys(long keys, long rotation)
{
    const std::uint32_t v = (static_cast<std::uint32_t>(rotation & 0xFFFF) << 16) | static_cast<std::uint32_t>(keys & 0xFFFF);
    return static_cast<long>(static_cast<std::int32_t>(v));
}

long PackPoint(long x, long y) { return PackWheelKeys(x, y); }

} // namespace Wheel
} // namespace platform
