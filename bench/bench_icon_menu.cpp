// The icon's menu: milliseconds from a right click on the notification-area icon to the moment
// the program's menu is mapped, in the states a user meets it in: the first right click after
// the start (the menu's host loads then), the main window shown, a list open over it, the exit
// question waiting, the grid the menu opened, the main window minimised into the icon.
// Each click runs beside the same right click on a plain Qt program's icon with a context menu
// (plain_tray_menu), the two in turn first, each on a desktop of its own, as the desktop tests
// start them. It prints the medians of both, their ratio, and the program's worst case against
// the quarter second a user takes for "at once".
//   bench_icon_menu [--rounds N]
// Needs what the desktop tests need: Xvfb, openbox, trayer, xdotool.
#include "desktop/DesktopSession.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

using desktop::DesktopSession;
using desktop::WaitFor;

namespace {

constexpr double kTargetMs = 250;
constexpr int kCeilingMs = 10000;   // no menu by then: the icon is dead, nothing to measure

const QString kMain = QStringLiteral("Gestione Verbanto 1.0");
const QString kList = QStringLiteral("Gestione Scadenze");
const QString kGrid = QStringLiteral("Gestione Verbanto 1.0 - Prossime scadenze");
const QString kBox = QStringLiteral("Gestione Verbanto");

struct Figures {
    const char* state;
    std::vector<double> program, plain;
};

bool Fail(const char* what)
{
    std::fprintf(stderr, "bench_icon_menu: %s\n", what);
    return false;
}

unsigned long Window(DesktopSession& s, const QString& name)
{
    const auto w = s.WindowsNamed(name);
    return w.empty() ? 0 : w.front().id;
}

bool Gone(DesktopSession& s, const QString& name)
{
    return WaitFor([&] { return Window(s, name) == 0; });
}

// Qt takes a second press soon after the last one at the same place for a double click, which
// opens no menu: each click waits out the double-click interval (400 ms) since its desktop's last.
constexpr int kApartMs = 500;
std::map<const DesktopSession*, QElapsedTimer> lastClick;

// One right click on the icon of a program that has done all it was given: the milliseconds
// until its menu was mapped, -1 when none came. The menu stays up.
double RightClick(DesktopSession& s)
{
    QElapsedTimer& last = lastClick[&s];
    if (last.isValid())
        WaitFor([&] { return last.hasExpired(kApartMs); });
    if (!s.ProgramAnswers(kCeilingMs))
        return -1;
    s.MovePointer(s.TrayIcon().geometry.center());
    s.ClickNow(3);
    last.start();
    const double ms = s.MenuDelayMs(kCeilingMs);
    s.HandDone();   // the button is up again before anything else comes
    return ms;
}

bool CloseMenu(DesktopSession& s)
{
    s.Key(QStringLiteral("Escape"));
    return WaitFor([&] { return s.PopupMenu().id == 0; });
}

// One click on each, the program first in every other round; the menus stay up when asked.
bool Pair(DesktopSession& program, DesktopSession& plain, int round, Figures& f, bool close = true)
{
    for (int i = 0; i < 2; ++i) {
        const bool programsTurn = (round + i) % 2 == 0;
        DesktopSession& s = programsTurn ? program : plain;
        const double ms = RightClick(s);
        if (ms < 0)
            return Fail(programsTurn ? "no menu (program)" : "no menu (plain)");
        (programsTurn ? f.program : f.plain).push_back(ms);
        if (close && !CloseMenu(s))
            return Fail("the menu did not close");
    }
    return true;
}

bool StartBoth(DesktopSession& program, DesktopSession& plain)
{
    if (!program.StartProgram() || !WaitFor([&] { return Window(program, kMain) && program.TrayIcon().id; }, 60000))
        return Fail("the program did not show its main window and icon");
    program.Activate(Window(program, kMain));
    if (!plain.StartProgram() || !WaitFor([&] { return plain.TrayIcon().id != 0; }, 60000))
        return Fail("the plain program did not show its icon");
    return true;
}

// From the menu that is up: "Esci", and the program's question answered "Sì".
bool ExitBoth(DesktopSession& program, DesktopSession& plain)
{
    plain.Key(QStringLiteral("Up Return"));
    program.Key(QStringLiteral("Up Return"));
    if (!program.WaitForWindow(kBox))
        return Fail("no exit question");
    program.Activate(Window(program, kBox));
    program.Key(QStringLiteral("Return"));
    if (!WaitFor([&] { return !program.ProgramRunning() && !plain.ProgramRunning(); }, 30000))
        return Fail("the programs did not end");
    return true;
}

// Each state in turn, in both programs' sessions; false (after saying why) when a step failed.
bool MeasureAll(DesktopSession& program, DesktopSession& plain, int rounds, std::vector<Figures>& all)
{
    // A fresh start for each round's first right click; "Esci" from that menu ends it again.
    all.push_back({"first right click after the start", {}, {}});
    for (int round = 0; round < rounds; ++round)
        if (!StartBoth(program, plain) || !Pair(program, plain, round, all.back(), false) || !ExitBoth(program, plain))
            return false;

    const auto measure = [&](const char* state) {
        all.push_back({state, {}, {}});
        for (int round = 0; round < rounds; ++round)
            if (!Pair(program, plain, round, all.back()))
                return false;
        return true;
    };
    if (!StartBoth(program, plain) || !measure("main window shown"))
        return false;

    program.Activate(Window(program, kMain));
    program.Key(QStringLiteral("alt+g"));
    if (!program.WaitForWindow(kList))
        return Fail("no list");
    if (!measure("a list open over the main window"))
        return false;
    program.Activate(Window(program, kList));
    program.Key(QStringLiteral("alt+s"));   // its "Esci"
    if (!Gone(program, kList))
        return Fail("the list stayed");

    program.Activate(Window(program, kMain));
    program.Key(QStringLiteral("alt+e"));
    if (!program.WaitForWindow(kBox))
        return Fail("no exit question");
    if (!measure("the exit question waiting"))
        return false;
    program.Activate(Window(program, kBox));
    program.Key(QStringLiteral("alt+n"));
    if (!Gone(program, kBox))
        return Fail("the exit question stayed");

    if (RightClick(program) < 0)
        return Fail("no menu");
    program.Key(QStringLiteral("Down Down Return"));   // "Visualizza prossime scadenze"
    if (!program.WaitForWindow(kGrid))
        return Fail("no grid");
    if (!measure("the grid the menu opened"))
        return false;
    program.Activate(Window(program, kGrid));
    program.Key(QStringLiteral("alt+s"));
    if (!Gone(program, kGrid))
        return Fail("the grid stayed");

    program.Minimize(Window(program, kMain));
    if (!Gone(program, kMain))
        return Fail("the main window stayed");
    return measure("main window minimised into the icon");
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int rounds = 15;
    for (int i = 1; i + 1 < argc; ++i)
        if (QString::fromLocal8Bit(argv[i]) == QLatin1String("--rounds"))
            rounds = std::max(1, QString::fromLocal8Bit(argv[++i]).toInt());

    DesktopSession program;
    DesktopSession plain;
    plain.UseProgram(QStringLiteral(PLAIN_TRAY_MENU), QStringLiteral("PlainTrayMenu"));
    if (!program.Error().isEmpty() || !plain.Error().isEmpty()) {
        std::fprintf(stderr, "bench_icon_menu: no desktop: %s%s\n", qPrintable(program.Error()), qPrintable(plain.Error()));
        return 1;
    }
    // A deadline long past: the lists have a row, and no balloon comes.
    program.Sql(QStringLiteral("insert into TipologiaPersone (TIPOLOGIAID, Tipologia) values (2, 'Cliente')"));
    program.Sql(QStringLiteral("insert into anagrafica (anagraficaid, tipologiaid, cognome, nome) values (5, 2, 'Bianchi', 'Anna')"));
    program.Sql(QStringLiteral("insert into pagamenti (anagraficaid, datapagamento, importo, causale) values (5, '2000-01-03 00:00:00', 0, 'Bollo')"));

    std::vector<Figures> all;
    if (!MeasureAll(program, plain, rounds, all))
        return 1;

    std::printf("right click on the notification-area icon to its menu mapped, ms; medians of %d rounds, each click\n"
                "beside the same click on a plain Qt icon with a context menu (plain_tray_menu), in turn first\n",
                rounds);
    std::printf("%-38s %9s %9s %7s %9s\n", "", "program", "plain", "ratio", "worst");
    double worst = 0;
    for (const Figures& f : all) {
        const double mine = Median(f.program), plainMs = Median(f.plain);
        const double worstHere = *std::max_element(f.program.begin(), f.program.end());
        worst = std::max(worst, worstHere);
        std::printf("%-38s %9.2f %9.2f %7.2f %9.2f\n", f.state, mine, plainMs, mine / plainMs, worstHere);
    }
    std::printf("the program's worst case: %.1f ms [target <= %.0f ms]%s\n", worst, kTargetMs, worst <= kTargetMs ? "" : "  MISSED");
    return 0;
}
