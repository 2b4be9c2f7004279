#include "platform/App.h"
#include <QCoreApplication>
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

} // namespace platform::App
