#include "desktop/DesktopSession.h"
#include "platform/SqlLite.h"
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace desktop {

bool WaitFor(const std::function<bool()>& condition, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (condition())
            return true;
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(25);
    }
}

// ---------------------------------------------------------------------------------------------
// Processes

pid_t Processes::Start(const QStringList& argv, const QStringList& environment, const QString& log, int keepFd,
                       int inputFd, const QString& workDir)
{
    // Everything the child needs is made before fork: after it only async-signal-safe calls.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& e : environment) {
        if (e.startsWith(QLatin1Char('-')))
            env.remove(e.mid(1));
        else
            env.insert(e.section(QLatin1Char('='), 0, 0), e.section(QLatin1Char('='), 1));
    }
    std::vector<QByteArray> args, vars;
    for (const QString& a : argv)
        args.push_back(a.toLocal8Bit());
    for (const QString& v : env.toStringList())
        vars.push_back(v.toLocal8Bit());
    std::vector<char*> argp, envp;
    for (QByteArray& a : args)
        argp.push_back(a.data());
    argp.push_back(nullptr);
    for (QByteArray& v : vars)
        envp.push_back(v.data());
    envp.push_back(nullptr);
    const QByteArray logPath = log.toLocal8Bit();
    const QByteArray dir = workDir.toLocal8Bit();
    const pid_t group = group_;

    const pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, group);
        if (!dir.isEmpty() && chdir(dir.constData()) != 0)
            _exit(127);
        const int out = open(logPath.constData(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (out >= 0) {
            dup2(out, 1);
            dup2(out, 2);
        }
        const int in = inputFd >= 0 ? inputFd : open("/dev/null", O_RDONLY);
        if (in >= 0)
            dup2(in, 0);
        if (keepFd >= 0)
            fcntl(keepFd, F_SETFD, 0);
        execvpe(argp[0], argp.data(), envp.data());
        _exit(127);
    }
    if (pid < 0)
        return -1;
    if (!group_)
        group_ = pid;
    setpgid(pid, group_);
    pids_.push_back(pid);
    return pid;
}

bool Processes::Running(pid_t pid)
{
    if (std::find(pids_.begin(), pids_.end(), pid) == pids_.end())
        return false;
    int status = 0;
    const pid_t ended = waitpid(pid, &status, WNOHANG);
    if (ended == 0)
        return true;
    statuses_[pid] = ended == pid ? status : -1;
    pids_.erase(std::remove(pids_.begin(), pids_.end(), pid), pids_.end());
    return false;
}

void Processes::End(pid_t pid)
{
    if (!Running(pid))
        return;
    kill(pid, SIGTERM);
    if (!WaitFor([&] { return !Running(pid); }, 3000)) {
        kill(pid, SIGKILL);
        int status = 0;
        statuses_[pid] = waitpid(pid, &status, 0) == pid ? status : -1;
        pids_.erase(std::remove(pids_.begin(), pids_.end(), pid), pids_.end());
    }
}

int Processes::Status(pid_t pid) const
{
    const auto it = statuses_.find(pid);
    return it == statuses_.end() ? -1 : it->second;
}

void Processes::EndAll()
{
    while (!pids_.empty())
        End(pids_.back());
    // What the bus started on demand (the accessibility bus and registry) is in the group too.
    if (group_ > 0)
        kill(-group_, SIGKILL);
    group_ = 0;
}

// ---------------------------------------------------------------------------------------------
// Accessibility: the objects of the program on the accessibility bus

namespace {

struct AccessibleRef {
    QString service;
    QDBusObjectPath path;
};

QDBusArgument& operator<<(QDBusArgument& a, const AccessibleRef& r)
{
    a.beginStructure();
    a << r.service << r.path;
    a.endStructure();
    return a;
}

const QDBusArgument& operator>>(const QDBusArgument& a, AccessibleRef& r)
{
    a.beginStructure();
    a >> r.service >> r.path;
    a.endStructure();
    return a;
}

} // namespace
} // namespace desktop

Q_DECLARE_METATYPE(desktop::AccessibleRef)

namespace desktop {
namespace {

// The test's connections to a session's buses go by name: one pair per desktop, so that a session
// that starts while the last one is still ending gets connections of its own.
QString connectionName(const char* bus, const QString& display)
{
    return QStringLiteral("verbanto-%1%2").arg(QLatin1String(bus), display);
}

const QString kAccessible = QStringLiteral("org.a11y.atspi.Accessible");
constexpr uint kStateFocused = 12;
constexpr uint kStateShowing = 25;

QDBusMessage callAccessible(const QDBusConnection& bus, const AccessibleRef& node, const QString& method,
                            const QVariantList& args = {})
{
    QDBusMessage m = QDBusMessage::createMethodCall(node.service, node.path.path(), kAccessible, method);
    m.setArguments(args);
    return bus.call(m, QDBus::Block, 3000);
}

QList<AccessibleRef> children(const QDBusConnection& bus, const AccessibleRef& node)
{
    const QDBusMessage reply = callAccessible(bus, node, QStringLiteral("GetChildren"));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return qdbus_cast<QList<AccessibleRef>>(reply.arguments().at(0));
}

QString name(const QDBusConnection& bus, const AccessibleRef& node)
{
    QDBusMessage m = QDBusMessage::createMethodCall(node.service, node.path.path(),
                                                    QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    m << kAccessible << QStringLiteral("Name");
    const QDBusMessage reply = bus.call(m, QDBus::Block, 3000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return qdbus_cast<QDBusVariant>(reply.arguments().at(0)).variant().toString();
}

QString role(const QDBusConnection& bus, const AccessibleRef& node)
{
    const QDBusMessage reply = callAccessible(bus, node, QStringLiteral("GetRoleName"));
    return reply.arguments().isEmpty() ? QString() : reply.arguments().at(0).toString();
}

bool showing(const QDBusConnection& bus, const AccessibleRef& node)
{
    const QDBusMessage reply = callAccessible(bus, node, QStringLiteral("GetState"));
    if (reply.arguments().isEmpty())
        return false;
    const QList<uint> states = qdbus_cast<QList<uint>>(reply.arguments().at(0));
    return !states.isEmpty() && (states.at(0) & (1u << kStateShowing));
}

bool focused(const QDBusConnection& bus, const AccessibleRef& node, bool* isShowing)
{
    const QDBusMessage reply = callAccessible(bus, node, QStringLiteral("GetState"));
    const QList<uint> states = reply.arguments().isEmpty() ? QList<uint>() : qdbus_cast<QList<uint>>(reply.arguments().at(0));
    *isShowing = !states.isEmpty() && (states.at(0) & (1u << kStateShowing));
    return !states.isEmpty() && (states.at(0) & (1u << kStateFocused));
}

QRect place(const QDBusConnection& bus, const AccessibleRef& node)
{
    QDBusMessage m = QDBusMessage::createMethodCall(node.service, node.path.path(), QStringLiteral("org.a11y.atspi.Component"),
                                                    QStringLiteral("GetExtents"));
    m << uint(0);   // on the screen
    const QDBusMessage reply = bus.call(m, QDBus::Block, 3000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    const QDBusArgument box = reply.arguments().at(0).value<QDBusArgument>();
    int x = 0, y = 0, w = 0, h = 0;
    box.beginStructure();
    box >> x >> y >> w >> h;
    box.endStructure();
    return QRect(x, y, w, h);
}

void collectShown(const QDBusConnection& bus, const AccessibleRef& node, int depth,
                  std::vector<DesktopSession::Accessible>& out)
{
    bool isShowing = false;
    const bool hasFocus = focused(bus, node, &isShowing);
    if (!isShowing)
        return;
    out.push_back({role(bus, node), name(bus, node), place(bus, node), hasFocus});
    if (depth < 12)
        for (const AccessibleRef& child : children(bus, node))
            collectShown(bus, child, depth + 1, out);
}

bool findShown(const QDBusConnection& bus, const AccessibleRef& node, const QString& wantedRole, const QString& wantedName,
               int depth)
{
    if (role(bus, node) == wantedRole && name(bus, node) == wantedName && showing(bus, node))
        return true;
    if (depth > 12)
        return false;
    for (const AccessibleRef& child : children(bus, node))
        if (findShown(bus, child, wantedRole, wantedName, depth + 1))
            return true;
    return false;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The session

DesktopSession::DesktopSession(Options options) : options_(options)
{
    qDBusRegisterMetaType<AccessibleRef>();
    qDBusRegisterMetaType<QList<AccessibleRef>>();
    dir_ = std::make_unique<QTemporaryDir>();
    if (!dir_->isValid()) {
        error_ = QStringLiteral("no temporary folder");
        return;
    }
    for (const char* sub : {"home", "runtime", "config", "program"})
        QDir(dir_->path()).mkpath(QLatin1String(sub));
    QFile::setPermissions(dir_->path() + QStringLiteral("/runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QString schemaError;
    if (!platform::CreateDatabaseFile(DbFile(), platform::ReadTextFile(QStringLiteral(VERBANTO_SCHEMA)), &schemaError)) {
        error_ = QStringLiteral("database: ") + schemaError;
        return;
    }
    if (startDesktop() && options_.accessibility)
        startBus();
}

DesktopSession::~DesktopSession()
{
    if (hand_ >= 0)
        close(hand_);
    x_.reset();
    probe_.reset();
    processes_.EndAll();
    // A program built with the sanitizers writes what they found into its output.
    const QString log = ProgramLog();
    for (const char* finding : {"ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:"})
        if (log.contains(QLatin1String(finding)))
            ADD_FAILURE() << "the program under test: " << log.toStdString();
    if (!busAddress_.isEmpty()) {
        QDBusConnection::disconnectFromBus(connectionName("a11y", display_));
        QDBusConnection::disconnectFromBus(connectionName("session", display_));
    }
}

QStringList DesktopSession::baseEnvironment() const
{
    const QString root = dir_->path();
    return {QStringLiteral("DISPLAY=") + display_,
            QStringLiteral("HOME=") + root + QStringLiteral("/home"),
            QStringLiteral("XDG_RUNTIME_DIR=") + root + QStringLiteral("/runtime"),
            QStringLiteral("XDG_CONFIG_HOME=") + root + QStringLiteral("/config"),
            QStringLiteral("XDG_CACHE_HOME=") + root + QStringLiteral("/home/.cache"),
            // Whatever the machine's own language and desktop, nothing of them reaches the test.
            QStringLiteral("LC_ALL=C.UTF-8"), QStringLiteral("LANG=C.UTF-8"), QStringLiteral("-LANGUAGE"),
            QStringLiteral("-QT_QPA_PLATFORM"), QStringLiteral("-QT_QPA_PLATFORMTHEME"), QStringLiteral("-XDG_CURRENT_DESKTOP"),
            QStringLiteral("-DESKTOP_SESSION"), QStringLiteral("-SESSION_MANAGER"), QStringLiteral("-AT_SPI_BUS_ADDRESS"),
            // No bus unless asked for: then the program has no desktop notifications either.
            QStringLiteral("DBUS_SESSION_BUS_ADDRESS=") +
                (busAddress_.isEmpty() ? QStringLiteral("unix:path=") + root + QStringLiteral("/no-bus") : busAddress_)};
}

namespace {
// Reads one line a starting server writes to the pipe (display number, bus address).
QString readLine(int fd, int timeoutMs)
{
    QByteArray line;
    QDeadlineTimer deadline(timeoutMs);
    while (!line.endsWith('\n')) {
        pollfd p{fd, POLLIN, 0};
        const int r = poll(&p, 1, static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
        if (r <= 0)
            return {};
        char c;
        if (read(fd, &c, 1) != 1)
            return {};
        line += c;
    }
    return QString::fromLocal8Bit(line).trimmed();
}

// A server started with a pipe to tell where it listens: the line it writes, empty on failure.
QString startWithPipe(Processes& processes, QStringList argv, const QString& fdPlaceholder, const QStringList& env,
                      const QString& log)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return {};
    argv.replaceInStrings(fdPlaceholder, QString::number(fds[1]));
    const pid_t pid = processes.Start(argv, env, log, fds[1]);
    close(fds[1]);
    const QString line = pid > 0 ? readLine(fds[0], 10000) : QString();
    close(fds[0]);
    return line;
}
} // namespace

QString StartSessionBus(Processes& processes, const QStringList& environment, const QString& log, const QString& configFile)
{
    return startWithPipe(processes,
                         {QStringLiteral("dbus-daemon"),
                          configFile.isEmpty() ? QStringLiteral("--session") : QStringLiteral("--config-file=") + configFile,
                          QStringLiteral("--nofork"), QStringLiteral("--print-address=@FD@")},
                         QStringLiteral("@FD@"), environment, log);
}

bool DesktopSession::startDesktop()
{
    const QString logs = dir_->path() + QStringLiteral("/");
    const QString number = startWithPipe(processes_,
                                         {QStringLiteral("Xvfb"), QStringLiteral("-displayfd"), QStringLiteral("@FD@"),
                                          QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1280x800x24"),
                                          QStringLiteral("-nolisten"), QStringLiteral("tcp")},
                                         QStringLiteral("@FD@"), {}, logs + QStringLiteral("xvfb.log"));
    if (number.isEmpty()) {
        error_ = QStringLiteral("Xvfb did not start");
        return false;
    }
    display_ = QLatin1Char(':') + number;
    x_ = std::make_unique<XConnection>(display_);
    if (!x_->Ok()) {
        error_ = QStringLiteral("no connection to ") + display_;
        return false;
    }
    processes_.Start({QStringLiteral("openbox")}, baseEnvironment(), logs + QStringLiteral("openbox.log"));
    if (!WaitFor([&] { return !x_->NumberProperty(0, QStringLiteral("_NET_SUPPORTING_WM_CHECK")).empty(); })) {
        error_ = QStringLiteral("openbox did not start");
        return false;
    }
    if (options_.tray && !StartTray()) {
        error_ = QStringLiteral("trayer did not start");
        return false;
    }
    return true;
}

bool DesktopSession::StartTray()
{
    tray_ = processes_.Start({QStringLiteral("trayer")}, baseEnvironment(), dir_->path() + QStringLiteral("/trayer.log"));
    return WaitFor([&] { return x_->SelectionOwned(QStringLiteral("_NET_SYSTEM_TRAY_S0")); });
}

void DesktopSession::EndTray()
{
    processes_.End(std::exchange(tray_, -1));
}

bool DesktopSession::startBus()
{
    busAddress_ = StartSessionBus(processes_, baseEnvironment(), dir_->path() + QStringLiteral("/dbus.log"));
    if (busAddress_.isEmpty()) {
        error_ = QStringLiteral("dbus-daemon did not start");
        return false;
    }
    // The accessibility bus comes up on the first question for it; the program finds it running.
    QDBusConnection session = QDBusConnection::connectToBus(busAddress_, connectionName("session", display_));
    const QDBusMessage reply = session.call(QDBusMessage::createMethodCall(
                                                QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                                                QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress")),
                                            QDBus::Block, 10000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        error_ = QStringLiteral("no accessibility bus: ") + reply.errorMessage();
        return false;
    }
    QDBusConnection::connectToBus(reply.arguments().at(0).toString(), connectionName("a11y", display_));
    return true;
}

QString DesktopSession::DbFile() const { return dir_->path() + QStringLiteral("/program/orvendale.db3"); }

void DesktopSession::Sql(const QString& statement)
{
    platform::SqlLiteConnection c;
    c.OpenDatabase(DbFile(), QString());
    c.Execute(statement);
}

bool DesktopSession::StartProgram(const QStringList& arguments)
{
    QString exe = otherProgram_;
    if (exe.isEmpty()) {
        exe = dir_->path() + QStringLiteral("/program/GestioneVerbanto");
        if (!QFile::exists(exe) && !QFile::copy(QStringLiteral(VERBANTO_PROGRAM), exe))
            return false;
    }
    QStringList env = baseEnvironment();
    if (options_.accessibility)
        env << QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1");
    // In its own folder: whatever a user types as a relative path lands there.
    program_ = processes_.Start(QStringList{exe} + arguments, env, dir_->path() + QStringLiteral("/program.log"), -1, -1,
                                dir_->path() + QStringLiteral("/program"));
    return program_ > 0;
}

bool DesktopSession::ProgramRunning() { return program_ > 0 && processes_.Running(program_); }

int DesktopSession::ProgramStatus() { return ProgramRunning() ? -1 : processes_.Status(program_); }

bool DesktopSession::ProgramAnswers(int timeoutMs, unsigned long window)
{
    if (!probe_)
        probe_ = std::make_unique<XConnection>(display_);
    // The icon lives as long as the program; the windows come and go. A ping to a window that
    // just went gets no answer: so it is sent again, to what is there then, every half second.
    QDeadlineTimer deadline(timeoutMs);
    long first = 0;
    do {
        if (!ProgramRunning())
            return true;
        unsigned long target = window ? window : TrayIcon().id;
        for (const WindowInfo& w : ProgramWindows())
            if (!target && !w.overrideRedirect && !w.embedded)
                target = w.id;
        if (target) {
            const long number = probe_->Ping(target);
            if (!first)
                first = number;
        }
        if (first && probe_->Pong(first, static_cast<int>(std::min<qint64>(500, deadline.remainingTime()))))
            return true;
        if (!first)
            QThread::msleep(100);
    } while (!deadline.hasExpired());
    return false;
}

bool DesktopSession::HoldDatabase(int ms)
{
    if (DatabaseHeld())
        return false;
    // This very test program, in its part that only holds the file; it says when it holds it.
    const QString log = dir_->path() + QStringLiteral("/holder.log");
    QFile::remove(log);
    holder_ = processes_.Start({QCoreApplication::applicationFilePath(), QStringLiteral("--hold-database"), DbFile(),
                                QString::number(ms)},
                               {}, log);
    if (holder_ <= 0)
        return false;
    const auto held = [&] {
        QFile f(log);
        return f.open(QIODevice::ReadOnly) && f.readAll().contains("held");
    };
    return WaitFor([&] { return held() || !DatabaseHeld(); }) && held();
}

bool DesktopSession::DatabaseHeld() { return holder_ > 0 && processes_.Running(holder_); }

QString DesktopSession::ProgramLog() const
{
    QFile f(dir_->path() + QStringLiteral("/program.log"));
    return f.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(f.readAll()) : QString();
}

QString DesktopSession::Run(const QString& program, const QStringList& arguments, int* exitCode) const
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    p.setProcessEnvironment(env);
    p.start(program, arguments);
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished();
    }
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

QString DesktopSession::windowClass() const
{
    return otherClass_.isEmpty() ? QStringLiteral("GestioneVerbanto") : otherClass_;
}

void DesktopSession::UseProgram(const QString& executable, const QString& windowClass)
{
    otherProgram_ = executable;
    otherClass_ = windowClass;
}

std::vector<WindowInfo> DesktopSession::ProgramWindows() { return x_->Windows(windowClass()); }

std::vector<WindowInfo> DesktopSession::WindowsNamed(const QString& name)
{
    std::vector<WindowInfo> out;
    for (const WindowInfo& w : ProgramWindows())
        if (w.name == name)
            out.push_back(w);
    return out;
}

bool DesktopSession::WaitForWindow(const QString& name)
{
    return WaitFor([&] { return !WindowsNamed(name).empty(); });
}

QStringList DesktopSession::Atoms(unsigned long id, const QString& property) { return x_->AtomProperty(id, property); }

std::vector<unsigned long> DesktopSession::Numbers(unsigned long id, const QString& property)
{
    return x_->NumberProperty(id, property);
}

void DesktopSession::PauseTray(bool paused)
{
    if (tray_ > 0)
        kill(tray_, paused ? SIGSTOP : SIGCONT);
}

WindowInfo DesktopSession::TrayIcon()
{
    for (const WindowInfo& w : ProgramWindows())
        if (w.embedded && w.geometry.width() <= 64 && w.geometry.height() <= 64)
            return w;
    return {};
}

namespace {
// A balloon: a tooltip window, taller than a tooltip's line.
bool isBalloon(DesktopSession& s, const WindowInfo& w)
{
    return w.overrideRedirect && w.geometry.height() >= 60 &&
           s.Atoms(w.id, QStringLiteral("_NET_WM_WINDOW_TYPE")).contains(QStringLiteral("_NET_WM_WINDOW_TYPE_TOOLTIP"));
}
} // namespace

WindowInfo DesktopSession::Balloon()
{
    // Shown, and where it stays: its arrow at the icon (it moves along when the icon is docked).
    const WindowInfo icon = TrayIcon();
    if (!icon.id)
        return {};
    const QPoint tip = icon.geometry.center();
    for (const WindowInfo& w : ProgramWindows())
        if (isBalloon(*this, w) && w.geometry.left() <= tip.x() && tip.x() <= w.geometry.right() &&
            std::abs(w.geometry.bottom() - tip.y()) <= icon.geometry.height())
            return w;
    return {};
}

WindowInfo DesktopSession::AnyBalloon()
{
    for (const WindowInfo& w : ProgramWindows())
        if (isBalloon(*this, w))
            return w;
    return {};
}

WindowInfo DesktopSession::PopupMenu()
{
    for (const WindowInfo& w : ProgramWindows())
        if (w.overrideRedirect && w.geometry.width() > 64 &&
            !Atoms(w.id, QStringLiteral("_NET_WM_WINDOW_TYPE")).contains(QStringLiteral("_NET_WM_WINDOW_TYPE_TOOLTIP")))
            return w;
    return {};
}

void DesktopSession::MovePointer(const QPoint& at)
{
    Run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y())});
}

void DesktopSession::Click(const QPoint& at, int button, int count)
{
    // One connection for both, so the click comes where the pointer went.
    Run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
                                    QStringLiteral("click"), QStringLiteral("--repeat"), QString::number(count),
                                    QStringLiteral("--delay"), QStringLiteral("100"), QString::number(button)});
}

void DesktopSession::Key(const QString& keys)
{
    Run(QStringLiteral("xdotool"), QStringList{QStringLiteral("key")} + keys.split(QLatin1Char(' ')));
}

void DesktopSession::Activate(unsigned long id)
{
    Run(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(id)});
}

void DesktopSession::Minimize(unsigned long id)
{
    Run(QStringLiteral("xdotool"), {QStringLiteral("windowminimize"), QStringLiteral("--sync"), QString::number(id)});
}

unsigned long DesktopSession::ActiveWindow()
{
    const std::vector<unsigned long> active = Numbers(0, QStringLiteral("_NET_ACTIVE_WINDOW"));
    return active.empty() ? 0 : active.front();
}

QImage DesktopSession::Grab(unsigned long id) { return x_->Grab(id); }

bool DesktopSession::startHand()
{
    // Should xdotool end, a click fails instead of ending the test.
    std::signal(SIGPIPE, SIG_IGN);
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return false;
    const pid_t pid = processes_.Start({QStringLiteral("xdotool"), QStringLiteral("-")}, baseEnvironment(),
                                       dir_->path() + QStringLiteral("/xdotool.log"), -1, fds[0]);
    close(fds[0]);
    if (pid <= 0) {
        close(fds[1]);
        return false;
    }
    hand_ = fds[1];
    return true;
}

void DesktopSession::ClickNow(int button)
{
    if (hand_ < 0 && !startHand())
        return;
    x_->WatchMaps();
    const QByteArray command = "click " + QByteArray::number(button) + '\n';
    clickedAt_ = std::chrono::steady_clock::now();
    clicked_ = write(hand_, command.constData(), command.size()) == command.size();
}

int DesktopSession::MsToMenu(int timeoutMs)
{
    const double ms = MenuDelayMs(timeoutMs);
    return ms < 0 ? -1 : static_cast<int>(ms);
}

double DesktopSession::MenuDelayMs(int timeoutMs)
{
    if (!clicked_ || !x_->NextMenuMap(windowClass(), timeoutMs))
        return -1;
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - clickedAt_).count();
}

bool DesktopSession::HandDone(int timeoutMs)
{
    if (hand_ < 0)
        return true;
    // One pixel aside, and back the next time: the pointer stays on what it was put on.
    const QPoint at = x_->Pointer();
    const QPoint mark(at.x() % 2 ? at.x() - 1 : at.x() + 1, at.y());
    const QByteArray command = "mousemove " + QByteArray::number(mark.x()) + ' ' + QByteArray::number(mark.y()) + '\n';
    if (write(hand_, command.constData(), command.size()) != command.size())
        return false;
    return WaitFor([&] {
        bool down = false;
        return x_->Pointer(&down) == mark && !down;
    }, timeoutMs);
}

XConnection& DesktopSession::probe()
{
    if (!probe_)
        probe_ = std::make_unique<XConnection>(display_);
    return *probe_;
}

bool DesktopSession::WindowManagerDone(int timeoutMs) { return probe().WindowManagerDone(timeoutMs); }

bool DesktopSession::AccessibleShown(const QString& role, const QString& name)
{
    const QDBusConnection bus(connectionName("a11y", display_));
    if (!bus.isConnected())
        return false;
    const AccessibleRef root{QStringLiteral("org.a11y.atspi.Registry"),
                             QDBusObjectPath(QStringLiteral("/org/a11y/atspi/accessible/root"))};
    for (const AccessibleRef& app : children(bus, root))
        if (desktop::name(bus, app) == QLatin1String("GestioneVerbanto") && findShown(bus, app, role, name, 0))
            return true;
    return false;
}

std::vector<std::vector<DesktopSession::Accessible>> DesktopSession::AccessibleWindows(const QString& title)
{
    std::vector<std::vector<Accessible>> windows;
    const QDBusConnection bus(connectionName("a11y", display_));
    if (!bus.isConnected())
        return windows;
    const AccessibleRef root{QStringLiteral("org.a11y.atspi.Registry"),
                             QDBusObjectPath(QStringLiteral("/org/a11y/atspi/accessible/root"))};
    for (const AccessibleRef& app : children(bus, root)) {
        if (desktop::name(bus, app) != QLatin1String("GestioneVerbanto"))
            continue;
        for (const AccessibleRef& window : children(bus, app)) {
            if (desktop::name(bus, window) != title)
                continue;
            std::vector<Accessible> shown;
            collectShown(bus, window, 0, shown);
            if (!shown.empty())
                windows.push_back(std::move(shown));
        }
    }
    return windows;
}

} // namespace desktop
