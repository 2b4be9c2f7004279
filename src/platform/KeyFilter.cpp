#include "platform/KeyFilter.h"
#include "platform/Control.h"
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace platform {

static int QtKey(int vb)
{
    if ((vb >= 'A' && vb <= 'Z') || (vb >= '0' && vb <= '9'))
        return vb;
    if (vb >= 112 && vb <= 123)
        return Qt::Key_F1 + (vb - 112);
    switch (vb) {
    case 8: return Qt::Key_Backspace;
    case 9: return Qt::Key_Tab;
    case 13: return Qt::Key_Return;
    case 27: return Qt::Key_Escape;
    case 32: return Qt::Key_Space;
    case 33: return Qt::Key_PageUp;
    case 34: return Qt::Key_PageDown;
    case 35: return Qt::Key_End;
    case 36: return Qt::Key_Home;
    case 37: return Qt::Key_Left;
    case 38: return Qt::Key_Up;
    case 39: return Qt::Key_Right;
    case 40: return Qt::Key_Down;
    case 45: return Qt::Key_Insert;
    case 46: return Qt::Key_Delete;
    default: return vb;
    }
}

static int shiftState(Qt::KeyboardModifiers m)
{
    int s = 0;
    if (m & Qt::ShiftModifier) s |= 1;
    if (m & Qt::ControlModifier) s |= 2;
    if (m & Qt::AltModifier) s |= 4;
    return s;
}

bool KeyFilter::eventFilter(QObject*, QEvent* ev)
{
    if (ev->type() != QEvent::KeyPress || !handler_ || !*handler_)
        return false;
    auto* ke = static_cast<QKeyEvent*>(ev);
    int code = VbKeyCode(ke->key());
    const int shift = shiftState(ke->modifiers());
    auto h = *handler_;
    Dispatch([&] { h(code, shift); });
    return code == 0;
}

void sendKey(QWidget* w, int vbKeyCode)
{
    if (!w)
        return;
    QKeyEvent press(QEvent::KeyPress, QtKey(vbKeyCode), Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, QtKey(vbKeyCode), Qt::NoModifier);
    QCoreApplication::sendEvent(w, &release);
}

void typeText(QWidget* w, const QString& text)
{
    if (!w)
        return;
    for (const QChar c : text) {
        // Qt's code of a printable key is its character, letters in upper case.
        const int key = c.toUpper().unicode();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(w, &release);
    }
}

} // namespace platform
