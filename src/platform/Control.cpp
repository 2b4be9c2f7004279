#include "platform/Control.h"
#include "platform/Form.h"
#include "platform/FormInstances.h"
#include "platform/KeyFilter.h"
#include "platform/UserAction.h"
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <cstdio>

namespace platform {

// ---------------------------------------------------------------- handlers and key codes

void Dispatch(const std::function<void()>& handler)
{
    if (!handler)
        return;
    const std::function<void()> h = handler;   // the control may go away while its handler runs
    Forms::Busy busy;
    UserAction action;
    try {
        h();
    } catch (const VbError& e) {
        std::fprintf(stderr, "unhandled error %ld (%s)\n", e.Number, qPrintable(e.Description));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "unhandled error (%s)\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "unhandled error\n");
    }
}

int VbKeyCode(int k)
{
    if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9))
        return k;
    if (k >= Qt::Key_F1 && k <= Qt::Key_F12)
        return 112 + (k - Qt::Key_F1);
    switch (k) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return k & 0xFFFF;
    }
}

// ---------------------------------------------------------------- Control

Control::Control(Form& form, const QString& name, int index) : Name(name), Index(index), Parent(form)
{
    form.registerControl(this);
}

namespace {
const char* const kControlProperty = "verbantoControl";
}

Control::~Control()
{
    // The widget goes later, with its window: nothing it does from now on may reach this control.
    if (keys_)
        keys_->detach();
    if (widget_) {
        widget_->disconnect();
        widget_->setProperty(kControlProperty, QVariant());   // the widget may outlive its control a moment
    }
}

Control* Control::Of(const QWidget* w)
{
    for (; w; w = w->isWindow() ? nullptr : w->parentWidget())
        if (void* c = w->property(kControlProperty).value<void*>())
            return static_cast<Control*>(c);
    return nullptr;
}

void Control::watchKeys(std::function<void(int&, int)>* handler)
{
    keys_ = new KeyFilter(widget_, handler);
    widget_->installEventFilter(keys_);
}

QWidget* Control::container() const { return Parent.currentContainer(); }

void Control::setWidget(QWidget* w)
{
    widget_ = w;
    if (w) {
        w->setProperty(kControlProperty, QVariant::fromValue(static_cast<void*>(this)));
        w->setParent(container());
        w->show();
    }
}

bool Control::Visible() const
{
    QWidget* w = Widget();
    return w ? !w->isHidden() : false;
}

void Control::setVisible(bool v)
{
    if (QWidget* w = Widget())
        w->setVisible(v);
}

bool Control::Enabled() const
{
    QWidget* w = Widget();
    return w ? w->isEnabled() : true;
}

void Control::setEnabled(bool v)
{
    if (QWidget* w = Widget())
        w->setEnabled(v);
}

void Control::setTabStop(bool v)
{
    tabStop_ = v;
    if (QWidget* w = Widget())
        w->setFocusPolicy(v ? Qt::StrongFocus : Qt::ClickFocus);
}

double Control::Left() const { return Widget() ? ToTwips(Widget()->x()) : 0; }
double Control::Top() const { return Widget() ? ToTwips(Widget()->y()) : 0; }
double Control::Width() const { return Widget() ? ToTwips(Widget()->width()) : 0; }
double Control::Height() const { return Widget() ? ToTwips(Widget()->height()) : 0; }
void Control::setLeft(double t) { if (Widget()) Widget()->move(ToPixels(t), Widget()->y()); }
void Control::setTop(double t) { if (Widget()) Widget()->move(Widget()->x(), ToPixels(t)); }
void Control::setWidth(double t) { if (Widget()) Widget()->resize(std::max(0, ToPixels(t)), Widget()->height()); }
void Control::setHeight(double t) { if (Widget()) Widget()->resize(Widget()->width(), std::max(0, ToPixels(t))); }

void Control::Move(double left, double top, double width, double height)
{
    QWidget* w = Widget();
    if (!w)
        return;
    w->move(ToPixels(left), ToPixels(top));
    w->resize(width < 0 ? w->width() : std::max(0, ToPixels(width)), height < 0 ? w->height() : std::max(0, ToPixels(height)));
}

void Control::SetFocus()
{
    if (QWidget* w = Widget()) {
        if (!w->isEnabled() || w->isHidden())
            Err::Raise(5, QStringLiteral("Invalid procedure call or argument"));
        w->setFocus(Qt::OtherFocusReason);
        if (QWidget* win = w->window())
            win->setProperty("verbantoFocus", QVariant::fromValue(static_cast<void*>(w)));
    }
}

bool Control::HasFocus() const
{
    QWidget* w = Widget();
    if (!w)
        return false;
    if (w->hasFocus())
        return true;
    // Offscreen windows are never active: remember the control that was last given the focus.
    QWidget* win = w->window();
    return win && win->property("verbantoFocus").value<void*>() == static_cast<void*>(w);
}

QFont Control::Font() const { return Widget() ? Widget()->font() : QFont(); }
void Control::setFont(const QFont& f) { if (Widget()) Widget()->setFont(f); }
long Control::hWnd() const { return static_cast<long>(reinterpret_cast<quintptr>(Widget())); }

QString Control::Caption() const { Err::Raise(438, QStringLiteral("Object doesn't support this property or method")); }

void Control::ApplyCommonSetUp(const QString& /*iconPath*/) {}

void Control::SendKey(int vbKeyCode) { sendKey(Widget(), vbKeyCode); }

void Control::Type(const QString& text) { typeText(Widget(), text); }

} // namespace platform
