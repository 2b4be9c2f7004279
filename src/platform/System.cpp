#include "platform/System.h"
#include "platform/ScriptedMode.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTextStream>

namespace platform {

namespace Registry {

namespace {
QString normalisedPath(const QString& path)
{
    QString p = path.toUpper();
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (p.endsWith(QLatin1Char('/')))
        p.chop(1);
    return p;
}

QString rootName(long root)
{
    switch (root) {
    case HKEY_CLASSES_ROOT: return QStringLiteral("HKCR");
    case HKEY_LOCAL_MACHINE: return QStringLiteral("HKLM");
    default: return QStringLiteral("HKCU");
    }
}

QString autostartDir()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/autostart");
}

QSettings& store()
{
    static QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Verbanto"), QStringLiteral("registry"));
    return s;
}

QString execQuoted(const QString& value)
{
    // The value is the program's path and its arguments; a path with blanks is quoted for the desktop.
    const int dash = value.indexOf(QStringLiteral(" -"));
    QString program = dash >= 0 ? value.left(dash) : value;
    const QString rest = dash >= 0 ? value.mid(dash) : QString();
    if (program.contains(QLatin1Char(' ')))
        program = QLatin1Char('"') + program + QLatin1Char('"');
    return program + rest;
}
} // namespace

bool IsRunKey(long root, const QString& path)
{
    return root == HKEY_CURRENT_USER && normalisedPath(path) == QStringLiteral("SOFTWARE/MICROSOFT/WINDOWS/CURRENTVERSION/RUN");
}

QString AutostartFile(const QString& name) { return autostartDir() + QLatin1Char('/') + name + QStringLiteral(".desktop"); }

bool Read(long root, const QString& path, const QString& name, QString* data, int* type)
{
    if (IsRunKey(root, path)) {
        QFile f(AutostartFile(name));
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
            return false;
        QTextStream in(&f);
        QString exec;
        QString value;
        bool haveValue = false;
        while (!in.atEnd()) {
            const QString line = in.readLine();
            if (line.startsWith(QStringLiteral("X-Verbanto-Value="))) {
                value = line.mid(17);
                haveValue = true;
            } else if (line.startsWith(QStringLiteral("Exec=")))
                exec = line.mid(5);
        }
        if (data)
            *data = haveValue ? value : exec;
        if (type)
            *type = REG_SZ;
        return true;
    }
    QSettings& s = store();
    const QString key = rootName(root) + QLatin1Char('/') + normalisedPath(path) + QLatin1Char('/') + name;
    if (!s.contains(key))
        return false;
    const QVariant v = s.value(key);
    if (data)
        *data = v.toString();
    if (type)
        *type = s.value(key + QStringLiteral("#type"), REG_SZ).toInt();
    return true;
}

void Write(long root, const QString& path, const QString& name, int type, const QString& data)
{
    if (IsRunKey(root, path)) {
        QDir().mkpath(autostartDir());
        QSaveFile f(AutostartFile(name));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Text))
            return;
        QTextStream out(&f);
        out << "[Desktop Entry]\n"
            << "Type=Application\n"
            << "Name=Gestione Verbanto\n"
            << "Exec=" << execQuoted(data) << "\n"
            << "X-Verbanto-Value=" << data << "\n"
            << "X-GNOME-Autostart-enabled=true\n"
            << "Terminal=false\n";
        out.flush();
        f.commit();
        return;
    }
    QSettings& s = store();
    const QString key = rootName(root) + QLatin1Char('/') + normalisedPath(path) + QLatin1Char('/') + name;
    s.setValue(key, data);
    s.setValue(key + QStringLiteral("#type"), type);
    s.sync();
}

void Delete(long root, const QString& path, const QString& name)
{
    if (IsRunKey(root, path)) {
        QFile::remove(AutostartFile(name));
        return;
    }
    QSettings& s = store();
    const QString key = rootName(root) + QLatin1Char('/') + normalisedPath(path) + QLatin1Char('/') + name;
    s.remove(key);
    s.remove(key + QStringLiteral("#type"));
    s.sync();
}

} // namespace Registry

namespace Shell {

QString FindBrowser(const QString& /*fileForAssociation*/)
{
    if (Script::Active())
        return QStringLiteral("xdg-open");
    return QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
}

bool Execute(const QString& program, const QString& argument)
{
    if (Script::Active()) {
        Script::Record({QStringLiteral("browser"), argument, 0, program});
        return true;
    }
    return QProcess::startDetached(program, {argument});
}

} // namespace Shell

namespace FileSys {

bool Exists(const QString& path)
{
    const QFileInfo fi(path);
    return fi.exists() && !fi.isDir();
}


bool Copy(const QString& source, const QString& target, bool failIfExists)
{
    if (!Exists(source))
        return false;
    if (!QFileInfo::exists(target))
        return QFile::copy(source, target);
    if (failIfExists)
        return false;
    // The old file goes only once the new copy is complete beside it.
    const QString partial = target + QStringLiteral(".partial");
    QFile::remove(partial);
    if (!QFile::copy(source, partial))
        return false;
    if (!QFile::remove(target) || !QFile::rename(partial, target)) {
        QFile::remove(partial);
        return false;
    }
    return true;
}

} // namespace FileSys

} // namespace platform
