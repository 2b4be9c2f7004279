#include "platform/App.h"
#include "platform/FormWindow.h"
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace platform::App {

namespace {
QString& pathOverride()
{
    static QString p;
    return p;
}
QString& commandLine()
{
    static QString c;
    return c;
}
} // namespace

QString Path()
{
    if (!pathOverride().isEmpty())
        return pathOverride();
    QString p = QCoreApplication::applicationDirPath();
    while (p.size() > 1 && p.endsWith(QLatin1Char('/')))
        p.chop(1);
    return p;
}

void setPath(const QString& folder)
{
    QString p = folder;
    while (p.size() > 1 && p.endsWith(QLatin1Char('/')))
        p.chop(1);
    pathOverride() = p;
}

QString CommandLine() { return commandLine(); }
void setCommandLine(const QString& cmd) { commandLine() = cmd; }

QString ExePath() { return QCoreApplication::applicationFilePath(); }
QString Title() { return QStringLiteral("Gestione Verbanto"); }

QString IconPath()
{
    static const QString p = QStringLiteral(":/verbanto/icon.png");
    return QFile::exists(p) ? p : QString();
}

void DoEvents() { QCoreApplication::processEvents(); }

namespace {
bool ending = false;
}

void EndDialogs()
{
    ending = true;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible())
            continue;
        if (w->windowType() == Qt::Popup)
            w->hide();   // a menu's loop ends with its hiding
        else if (auto* dialog = qobject_cast<QDialog*>(w); dialog && !dynamic_cast<FormWindow*>(dialog))
            dialog->reject();
    }
}

bool Ending() { return ending; }

} // namespace platform::App
