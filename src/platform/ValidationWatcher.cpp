#include "platform/ValidationWatcher.h"
#include "platform/Control.h"
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace platform {

namespace {

class ValidationWatcher : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* o, QEvent* ev) override
    {
        switch (ev->type()) {
        case QEvent::KeyPress:
            return tab(o, static_cast<QKeyEvent*>(ev));
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return press(o, static_cast<QMouseEvent*>(ev));
        case QEvent::MouseButtonRelease:
            // The release of a refused press goes nowhere either.
            if (o->isWindowType() && o == refused_) {
                refused_ = nullptr;
                return true;
            }
            return false;
        case QEvent::Shortcut:
            return o->isWidgetType() && shortcut(static_cast<QWidget*>(o));
        default:
            return false;
        }
    }

private:
    // Whether the focus may leave the focused control for `to` (always asked when to is none).
    bool mayLeave(QWidget* focus, const QWidget* to)
    {
        Control* from = Control::Of(focus);
        if (!from || !from->Validate || busy_)
            return true;
        if (to) {
            const Control* target = Control::Of(to);
            if (target == from || (target && !target->CausesValidation()))
                return true;
        }
        bool cancel = false;
        const auto handler = from->Validate;
        busy_ = true;
        Dispatch([&] { handler(cancel); });
        busy_ = false;
        return !cancel;
    }

    // Tab and Shift+Tab leave the focused control.
    bool tab(QObject* o, QKeyEvent* e)
    {
        if (e->key() != Qt::Key_Tab && e->key() != Qt::Key_Backtab)
            return false;
        if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            return false;
        QWidget* focus = QApplication::focusWidget();
        if (!focus || o != focus)
            return false;
        return !mayLeave(focus, nullptr);
    }

    // A press goes to the window first, before Qt moves the focus to the widget under the pointer.
    bool press(QObject* o, QMouseEvent* e)
    {
        if (!o->isWindowType())
            return false;
        // The second press of a double click whose first was refused.
        if (e->type() == QEvent::MouseButtonDblClick && o == refused_)
            return true;
        refused_ = nullptr;
        QWidget* focus = QApplication::focusWidget();
        if (!focus || focus->window()->windowHandle() != o)
            return false;
        // The widget that takes the focus on a click, as Qt finds it.
        QWidget* hit = focus->window()->childAt(e->position().toPoint());
        for (QWidget* w = hit; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
            if (w == focus || w->hasFocus())
                return false;   // a click inside the focused control
            if (w->isEnabled() && (w->focusPolicy() & Qt::ClickFocus)) {
                if (mayLeave(focus, w))
                    return false;
                refused_ = o;
                return true;
            }
        }
        return false;
    }

    // An access key presses a command, or takes the focus to a caption's field.
    bool shortcut(QWidget* target)
    {
        if (auto* label = qobject_cast<QLabel*>(target); label && label->buddy())
            target = label->buddy();
        QWidget* focus = QApplication::focusWidget();
        if (!focus || focus == target || focus->window() != target->window())
            return false;
        return !mayLeave(focus, target);
    }

    bool busy_ = false;
    QPointer<QObject> refused_;   // the window of the last press refused, until its release
};

} // namespace

void WatchValidation()
{
    static const bool installed = [] {
        qApp->installEventFilter(new ValidationWatcher(qApp));
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace platform
