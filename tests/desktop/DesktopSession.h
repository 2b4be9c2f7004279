#pragma once
// A private desktop for one test: Xvfb on a display number the server picks itself, openbox,
// a notification area (trayer), on request a D-Bus session bus with the accessibility bus, and
// the real program in a fresh program folder. Whatever the session started ends with it, also
// when the test fails. Waiting is always polling for a condition, never a fixed pause.
#include "desktop/XWindows.h"
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <sys/types.h>
#include <vector>

namespace desktop {

// Polls until the condition holds or the time is up; true when it held.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 10000);

// Child processes in one process group of their own: ended together, by process id.
class Processes {
public:
    Processes() = default;
    ~Processes() { EndAll(); }
    Processes(const Processes&) = delete;
    Processes& operator=(const Processes&) = delete;

    // Starts a program with the extra environment; its output goes to the log file. keepFd stays
    // open in the child (for -displayfd and --print-address); inputFd is its standard input
    // (none by default); it starts in workDir when one is given. Returns the process id, or -1.
    pid_t Start(const QStringList& argv, const QStringList& environment, const QString& log, int keepFd = -1,
                int inputFd = -1, const QString& workDir = QString());
    bool Running(pid_t pid);
    // How an ended process ended (as waitpid tells it), -1 while it runs or when unknown.
    int Status(pid_t pid) const;
    void End(pid_t pid);
    void EndAll();

private:
    std::vector<pid_t> pids_;
    std::map<pid_t, int> statuses_;
    pid_t group_ = 0;
};

// A private D-Bus session bus, with the desktop's services or (given a configuration file) with
// none at all; its address, empty when it did not start.
QString StartSessionBus(Processes& processes, const QStringList& environment, const QString& log,
                        const QString& configFile = QString());

class DesktopSession {
public:
    struct Options {
        bool accessibility = false;   // a session bus, the accessibility bus, and the program on it
        bool tray = true;             // a notification area from the start
    };
    explicit DesktopSession(Options options);
    DesktopSession() : DesktopSession(Options{}) {}
    ~DesktopSession();

    // Empty when the desktop is up, else what failed.
    QString Error() const { return error_; }
    QString Display() const { return display_; }

    // The program's folder: the executable and a new database made from the schema.
    QString DbFile() const;
    void Sql(const QString& statement);
    bool StartProgram(const QStringList& arguments = {});
    // From here on another program takes the program's place (a benchmark's plain reference):
    // it is started where it is, and its windows have that class.
    void UseProgram(const QString& executable, const QString& windowClass);
    bool ProgramRunning();
    // How the program ended, as waitpid tells it; -1 while it runs.
    int ProgramStatus();
    // Whether the program's event loop answers a ping within the time (or the program ended
    // meanwhile: ProgramRunning tells that apart); sent to that window when one is given (one
    // that is minimised, say), else to what shows.
    bool ProgramAnswers(int timeoutMs, unsigned long window = 0);
    QString ProgramLog() const;
    // Another program holds the database file (BEGIN EXCLUSIVE) for that long, then lets it go;
    // the test goes on meanwhile, once the file is held (false when it could not be).
    bool HoldDatabase(int ms);
    bool DatabaseHeld();

    // Runs a tool on this display; its standard output.
    QString Run(const QString& program, const QStringList& arguments, int* exitCode = nullptr) const;

    // The program's visible windows, all or by exact name.
    std::vector<WindowInfo> ProgramWindows();
    std::vector<WindowInfo> WindowsNamed(const QString& name);
    bool WaitForWindow(const QString& name);
    // A window's property as atom names or as numbers.
    QStringList Atoms(unsigned long id, const QString& property);
    std::vector<unsigned long> Numbers(unsigned long id, const QString& property);

    // The notification area stops taking new icons in (as a busy one does) or goes on.
    void PauseTray(bool paused);
    // A notification area comes (false when it did not), or goes as a panel that ends.
    bool StartTray();
    void EndTray();

    // The program's icon in the notification area, its balloon, a balloon anywhere on the screen,
    // an open popup menu (id 0 when none).
    WindowInfo TrayIcon();
    WindowInfo Balloon();
    WindowInfo AnyBalloon();
    WindowInfo PopupMenu();

    // Input as a user gives it.
    void Click(const QPoint& at, int button = 1, int count = 1);
    void Key(const QString& keys);
    void Activate(unsigned long id);
    void Minimize(unsigned long id);
    void RequestClose(unsigned long id) { x_->RequestClose(id); }
    // The window that has the keyboard, as the window manager tells it.
    unsigned long ActiveWindow();
    void MovePointer(const QPoint& at);
    QImage Grab(unsigned long id);
    // A click where the pointer is, given at once: the xdotool behind it is running already and
    // reads its commands as they come, so nothing starts between the decision and the click.
    void ClickNow(int button);
    // Milliseconds from the last ClickNow to the moment a popup menu of the program is mapped;
    // -1 when none is within the time.
    int MsToMenu(int timeoutMs = 3000);
    // The same to the microsecond.
    double MenuDelayMs(int timeoutMs = 3000);
    // Waits until the input given with ClickNow so far has all reached the X server: the hand
    // moves the pointer by one pixel after it, and the pointer is seen there with no button down.
    bool HandDone(int timeoutMs = 10000);
    // Waits until the window manager has done what it was asked before now (mapped the windows
    // the program showed, moved the focus).
    bool WindowManagerDone(int timeoutMs = 10000);

    // The program's accessible objects (with the accessibility option): whether one with this
    // role and name shows.
    bool AccessibleShown(const QString& role, const QString& name);
    // What the program's windows with that title show (with the accessibility option): per window,
    // the window itself first, then each object inside that shows.
    struct Accessible {
        QString role;
        QString name;
        QRect place;   // on the screen
        bool focused = false;
    };
    std::vector<std::vector<Accessible>> AccessibleWindows(const QString& title);

private:
    bool startDesktop();
    bool startBus();
    bool startHand();
    QStringList baseEnvironment() const;
    QString windowClass() const;
    XConnection& probe();

    Options options_;
    std::unique_ptr<QTemporaryDir> dir_;
    Processes processes_;
    QString error_;
    QString display_;
    QString busAddress_;
    std::unique_ptr<XConnection> x_;
    std::unique_ptr<XConnection> probe_;   // the pings' own, so their answers meet no other wait
    pid_t program_ = -1;
    QString otherProgram_;
    QString otherClass_;
    pid_t holder_ = -1;
    pid_t tray_ = -1;
    int hand_ = -1;   // xdotool's standard input
    bool clicked_ = false;
    std::chrono::steady_clock::time_point clickedAt_;
};

} // namespace desktop
