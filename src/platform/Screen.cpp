#include "platform/Screen.h"
#include "platform/FormConstants.h"
#include <QApplication>
#include <QScreen>

namespace platform {

namespace Screen {
namespace {
int& pointer()
{
    static int p = 0;
    return p;
}
} // namespace

double Width()
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? ToTwips(s->geometry().width()) : ToTwips(1024);
}
double Height()
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? ToTwips(s->geometry().height()) : ToTwips(768);
}

void setMousePointer(int p)
{
    if (p == pointer())
        return;
    if (pointer() == 11)
        QApplication::restoreOverrideCursor();
    pointer() = p;
    if (p == 11)
        QApplication::setOverrideCursor(Qt::WaitCursor);
}
} // namespace Screen

} // namespace platform
