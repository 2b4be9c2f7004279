// A robot user: from a seed it clicks and double-clicks in the program's windows, presses keys,
// types dates and texts, uses the icon's menu, runs errands that end in a message box, answers
// message boxes (the exit question among them) with letters and keys either way and now and then
// has another program hold the database file. It fails when the program ends other than after an
// exit the robot confirmed, when a confirmed exit does not end it, when the sanitizers speak, or
// when the program stops answering.
// An exit is confirmed when the exit question was on the screen (told from the other boxes with
// its caption by its text, read over the accessibility bus), the robot's own input gave it "Sì"
// and the question went: a key or text while the question had the keyboard (its window the active
// one), or a click on its "Sì" with none of the program's windows over it. The same seed makes the
// same decisions given the same windows on the screen.
//
// More or other seeds, longer:
//   VERBANTO_ROBOT_SEEDS=5,6,7 VERBANTO_ROBOT_SECONDS=600 test_desktop --gtest_filter='*Robot*'
// (the seeds are shared out among the four cases; each seed plays that many seconds);
// VERBANTO_ROBOT_TRACE=1 prints every action as it comes.
#include "desktop/DesktopFixture.h"
#include <QDate>
#include <QDeadlineTimer>
#include <QThread>
#include <QTime>
#include <algorithm>
#include <deque>
#include <random>
#include <sys/wait.h>

using namespace desktop;

namespace {

constexpr int kAnswerMs = 10000;   // longer without an answer is a hang
constexpr int kCases = 4;
constexpr int kCiSeconds = 30;
// The CI's seeds, one list per case (the cases run side by side).
const std::vector<unsigned> kCiSeeds[kCases] = {{6}, {13}, {20}, {5}};
// The message boxes' caption: the exit question has it, so has any other box.
const QString kBoxTitle = QStringLiteral("Gestione Verbanto");
const QString kExitQuestion = QStringLiteral("Sei sicuro di voler chiudere Gestione Verbanto?");
// What answers a message box: a letter ("s" Sì, "n" No; a box with only OK takes neither), or a
// key: a button's Alt letter, Enter, Escape, the space.
const std::vector<QString> kBoxLetters = {QStringLiteral("s"), QStringLiteral("n")};
const std::vector<QString> kBoxKeys = {QStringLiteral("alt+s"), QStringLiteral("alt+n"), QStringLiteral("Return"),
                                       QStringLiteral("Escape"), QStringLiteral("space")};

std::vector<unsigned> SeedsOfCase(int index)
{
    const QString given = qEnvironmentVariable("VERBANTO_ROBOT_SEEDS");
    if (given.isEmpty())
        return kCiSeeds[index];
    std::vector<unsigned> seeds;
    const QStringList all = given.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (int i = index; i < all.size(); i += kCases)
        seeds.push_back(all[i].trimmed().toUInt());
    return seeds;
}

int Seconds()
{
    const int given = qEnvironmentVariableIntValue("VERBANTO_ROBOT_SECONDS");
    return given > 0 ? given : kCiSeconds;
}

QString Describe(int status)
{
    if (status == -1)
        return QStringLiteral("unknown status");
    if (WIFSIGNALED(status))
        return QStringLiteral("killed by signal %1").arg(WTERMSIG(status));
    return QStringLiteral("exit status %1").arg(WEXITSTATUS(status));
}

// A menu's lines of text, top to bottom (the separator is too thin for one): where each is, and
// whether it is drawn black (an entry that can be chosen) or grey.
struct MenuLine {
    int centre;
    bool enabled;
};
std::vector<MenuLine> TextLines(const QImage& menu)
{
    std::vector<MenuLine> lines;
    if (menu.width() < 10 || menu.height() < 10)
        return lines;
    const int background = qGray(menu.pixel(menu.width() / 2, 2));
    int start = -1, darkest = 255;
    for (int y = 3; y <= menu.height() - 3; ++y) {
        int row = 255;   // the last row ends the last line
        for (int x = 4; y < menu.height() - 3 && x < menu.width() - 4; ++x)
            row = std::min(row, qGray(menu.pixel(x, y)));
        if (row < background - 40) {
            if (start < 0)
                start = y, darkest = 255;
            darkest = std::min(darkest, row);
        } else if (start >= 0) {
            if (y - start >= 5)
                lines.push_back({(start + y) / 2, darkest < 90});
            start = -1;
        }
    }
    return lines;
}

class RobotTest : public DesktopTest, public ::testing::WithParamInterface<int> {
protected:
    void Play(unsigned seed);

private:
    // One decision of the robot's, chosen with the weights below.
    void Act();
    void ClickSomewhere();
    void DoubleClickGrid();
    void IconMenu();
    void AnswerExitQuestion();
    void AnswerBox(unsigned long box);
    void PressKey();
    void CloseTop();
    void Errand();
    void TypeText();
    QString RandomText();

    // The exit question as it shows once all input given so far has been handled: its window (0
    // when it does not show), its buttons on the screen, whether keys reach it and whether "No"
    // has the focus. Else "Sì" has it: the default, which Qt gives the focus as the box becomes
    // active (its accessibility may not tell it yet).
    struct Question {
        unsigned long box = 0;
        QRect yes, no;
        bool keyboard = false, noFocused = false;
    };
    Question ExitQuestion();
    // What input given now answers to that question.
    enum class Answer { None, Yes, No };
    Answer KeyAnswer(const Question& q, const QString& key);
    Answer ClickAnswer(const Question& q, const QPoint& at);
    // The answer of a text, and how many of its characters up to and including the one that gives it.
    Answer TextAnswer(const Question& q, const QString& text, qsizetype* length);
    // The key, given where the keyboard is; q is the exit question as it showed just before.
    void Press(const QString& key, const Question& q);
    // After input that says "Sì" to the question while it had the keyboard or took the click: the
    // question goes and the exit is confirmed (the program may end first: nothing else had the
    // input); when it stays, the input did not reach it.
    void Confirm(const Question& q);

    // The program still there and answering; false (after saying why) when not.
    bool Healthy();
    // Until the windows stay as they are: what the next decision sees does not depend on how
    // fast the window manager was.
    void Settle();
    bool Start();
    void Note(const QString& action);
    void Fail(const QString& why);

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(rng_); }
    template <typename T> const T& OneOf(const std::vector<T>& v) { return v[static_cast<size_t>(Pick(static_cast<int>(v.size())))]; }
    std::vector<WindowInfo> Windows();   // the program's own, neither its icon nor a tooltip
    bool BoxShown() { return !S().WindowsNamed(kBoxTitle).empty(); }
    // Asked of the window manager, which may say no (a window under a modal one): no waiting.
    void Activate(unsigned long id) { S().Run(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QString::number(id)}); }

    std::mt19937 rng_;
    unsigned seed_ = 0;
    int steps_ = 0;
    bool confirmed_ = false;   // the robot said "Sì" to the exit question, and the question went
    bool menuSeen_ = false;    // the icon's menu has shown since the program started
    size_t otherBoxes_ = 0;          // boxes other than the exit question answered
    std::vector<QString> boxKeys_;   // the keys they have still to get in this round
    bool failed_ = false;
    std::deque<QString> last_;
};

void RobotTest::Note(const QString& action)
{
    last_.push_back(QStringLiteral("%1: %2").arg(steps_).arg(action));
    if (qEnvironmentVariableIsSet("VERBANTO_ROBOT_TRACE"))
        std::printf("%s %s\n", qPrintable(QTime::currentTime().toString(QStringLiteral("mm:ss.zzz"))), qPrintable(last_.back()));
    if (last_.size() > 30)
        last_.pop_front();
}

void RobotTest::Fail(const QString& why)
{
    failed_ = true;
    QString report = QStringLiteral("seed %1, step %2: %3\nthe last actions:\n").arg(seed_).arg(steps_).arg(why);
    for (const QString& a : last_)
        report += QStringLiteral("  ") + a + QLatin1Char('\n');
    report += QStringLiteral("again: VERBANTO_ROBOT_SEEDS=%1 VERBANTO_ROBOT_SECONDS=%2 test_desktop --gtest_filter='*Robot*'")
                  .arg(seed_)
                  .arg(Seconds());
    ADD_FAILURE() << report.toStdString();
}

bool RobotTest::Start()
{
    confirmed_ = false;
    menuSeen_ = false;
    // A start on a file another program holds is a case of its own; the robot waits it out.
    WaitFor([&] { return !S().DatabaseHeld(); }, 15000);
    const bool hidden = Chance(0.25);
    Note(hidden ? QStringLiteral("start -minimized") : QStringLiteral("start"));
    if (!S().StartProgram(hidden ? QStringList{QStringLiteral("-minimized")} : QStringList{}))
        return Fail(QStringLiteral("the program did not start")), false;
    if (!WaitFor([&] { return S().TrayIcon().id != 0 || !S().ProgramRunning(); }, 60000))
        return Fail(QStringLiteral("no icon in the notification area")), false;
    return Healthy();
}

bool RobotTest::Healthy()
{
    for (const char* finding : {"ERROR: AddressSanitizer", "runtime error:", "LeakSanitizer"})
        if (S().ProgramLog().contains(QLatin1String(finding))) {
            WaitFor([&] { return !S().ProgramRunning(); }, 60000);   // the whole report, stack included
            return Fail(QStringLiteral("a sanitizer report (see the program's output)")), false;
        }
    // A confirmed exit ends the program, with nothing left to answer (the leak check at the end
    // takes seconds).
    if (confirmed_) {
        if (!WaitFor([&] { return !S().ProgramRunning(); }, 60000))
            return Fail(QStringLiteral("the exit was confirmed, but the program did not end")), false;
    } else if (!S().ProgramAnswers(kAnswerMs) && S().ProgramRunning()) {
        return Fail(QStringLiteral("the program stopped answering for %1 s").arg(kAnswerMs / 1000)), false;
    }
    if (S().ProgramRunning())
        return true;
    const int status = S().ProgramStatus();
    if (!confirmed_ || status != 0)
        return Fail(QStringLiteral("the program ended (%1)%2")
                        .arg(Describe(status), confirmed_ ? QString() : QStringLiteral(" with no exit confirmed"))),
               false;
    Note(QStringLiteral("the program ended after the exit was confirmed"));
    return Start();
}

void RobotTest::Settle()
{
    const auto shape = [&] {
        QString all;
        for (const WindowInfo& w : S().ProgramWindows())
            all += QStringLiteral("%1 %2 %3 %4;").arg(w.id).arg(w.name).arg(w.geometry.width()).arg(w.geometry.height());
        return all;
    };
    QString before = shape();
    WaitFor([&] {
        QThread::msleep(50);
        const QString now = shape();
        return std::exchange(before, now) == now;
    }, 2000);
}

std::vector<WindowInfo> RobotTest::Windows()
{
    std::vector<WindowInfo> out;
    for (const WindowInfo& w : S().ProgramWindows())
        if (!w.embedded && w.geometry.width() > 20 && w.geometry.height() > 20)
            out.push_back(w);
    return out;
}

void RobotTest::ClickSomewhere()
{
    const std::vector<WindowInfo> windows = Windows();
    if (windows.empty())
        return;
    // Mostly the window on top (the one a modal window leaves to the user), else any.
    WindowInfo w = OneOf(windows);
    if (Chance(0.6))
        for (const WindowInfo& top : windows)
            if (!top.overrideRedirect)
                w = top;   // the list goes from the bottom of the stack to the top
    // The buttons: along the top of a list, along the bottom of a dialog; or anywhere.
    const QRect r = w.geometry;
    const int band = Pick(3);
    const int top = band == 0 ? 0 : band == 1 ? r.height() * 4 / 5 : 0;
    const int height = band == 2 ? r.height() : r.height() / 5;
    const QPoint at(r.x() + 2 + Pick(r.width() - 4), r.y() + top + 2 + Pick(std::max(1, height - 4)));
    const int button = Chance(0.1) ? 3 : 1;
    const Question q = ExitQuestion();
    const Answer answer = button == 1 ? ClickAnswer(q, at) : Answer::None;
    Note(QStringLiteral("click %1 at %2,%3 in \"%4\"").arg(button).arg(at.x() - r.x()).arg(at.y() - r.y()).arg(w.name));
    S().Click(at, button);
    if (answer == Answer::Yes)
        Confirm(q);
}

void RobotTest::DoubleClickGrid()
{
    std::vector<WindowInfo> lists;
    for (const WindowInfo& w : Windows())
        if (!w.overrideRedirect && w.geometry.width() >= 400 && w.geometry.height() >= 300)
            lists.push_back(w);
    if (lists.empty())
        return;
    const WindowInfo w = OneOf(lists);
    const QRect r = w.geometry;
    const QPoint at(r.x() + r.width() / 10 + Pick(r.width() * 8 / 10), r.y() + r.height() * 3 / 10 + Pick(r.height() * 6 / 10));
    Note(QStringLiteral("double click at %1,%2 in \"%3\"").arg(at.x() - r.x()).arg(at.y() - r.y()).arg(w.name));
    S().Click(at, 1, 2);
}

void RobotTest::IconMenu()
{
    const WindowInfo icon = S().TrayIcon();
    if (!icon.id)
        return;
    if (Chance(0.2)) {
        Note(QStringLiteral("double click on the icon"));
        S().Click(icon.geometry.center(), 1, 2);
        return;
    }
    Note(QStringLiteral("right click on the icon"));
    S().Click(icon.geometry.center(), 3);
    WindowInfo menu;
    std::vector<MenuLine> lines;
    // Its three entries: "Apri", "Visualizza prossime scadenze", then past the separator "Esci".
    WaitFor([&] {
        menu = S().PopupMenu();
        lines = menu.id ? TextLines(S().Grab(menu.id)) : std::vector<MenuLine>{};
        return lines.size() == 3;
    }, menuSeen_ || BoxShown() ? 2000 : 8000);   // the first menu loads its host, slow under the sanitizers
    if (lines.size() != 3) {
        Note(QStringLiteral("no menu with three entries"));
        return;
    }
    menuSeen_ = true;
    // "Esci" comes often when it can be chosen; a grey entry is clicked now and then too.
    const bool canExit = lines[2].enabled;
    const int choice = std::discrete_distribution<int>({2, 1, canExit ? 3.0 : 0.5, 1})(rng_);
    if (choice == 3) {
        Note(QStringLiteral("menu: Escape"));   // whichever entries it has
        S().Key(QStringLiteral("Escape"));
        return;
    }
    static const char* const names[] = {"Apri", "Visualizza prossime scadenze", "Esci"};
    QString states;
    for (const MenuLine& l : lines)
        states += l.enabled ? QLatin1Char('+') : QLatin1Char('-');
    Note(QStringLiteral("menu %1: %2").arg(states, QLatin1String(names[choice])));
    S().Click(QPoint(menu.geometry.center().x(), menu.geometry.y() + lines[static_cast<size_t>(choice)].centre));
    if (choice == 2 && canExit)
        AnswerExitQuestion();
}

void RobotTest::AnswerExitQuestion()
{
    // "Esci" may be unavailable or a window may still be busy: then no question comes.
    Question q;
    if (WaitFor([&] { return (q = ExitQuestion()).box != 0; }, 3000))
        AnswerBox(q.box);
}

void RobotTest::AnswerBox(unsigned long box)
{
    // A menu left open (on a grey entry) is closed and the box brought up first; the window
    // manager may refuse a box under another modal window.
    if (S().PopupMenu().id)
        S().Key(QStringLiteral("Escape"));
    Activate(box);
    const Question q = ExitQuestion();
    if (q.box == box) {
        const QString key = OneOf(Chance(0.3) ? kBoxLetters : kBoxKeys);
        Note(QStringLiteral("exit question with ") + key);
        return Press(key, q);
    }
    // The other boxes, until they go: first a letter, "s" and "n" in turn from box to box (a user
    // typing on), then the keys in turn, in an order of the seed's. So every answer reaches them,
    // whatever else the seed does.
    const auto nextKey = [&] {
        if (boxKeys_.empty()) {
            boxKeys_ = kBoxKeys;
            std::shuffle(boxKeys_.begin(), boxKeys_.end(), rng_);
        }
        const QString key = boxKeys_.back();
        boxKeys_.pop_back();
        return key;
    };
    for (size_t i = 0; i <= kBoxKeys.size() && Visible(box) && S().ProgramRunning(); ++i) {
        const QString key = i == 0 ? kBoxLetters[otherBoxes_++ % kBoxLetters.size()] : nextKey();
        Note(QStringLiteral("box with ") + key);
        Press(key, ExitQuestion());
        Settle();
    }
}

RobotTest::Question RobotTest::ExitQuestion()
{
    // Whatever the input so far asked for is done: the program has read it, the window manager
    // has shown and focused what the program showed, and the program has taken that in.
    S().ProgramAnswers(kAnswerMs);
    S().WindowManagerDone();
    S().ProgramAnswers(kAnswerMs);
    S().ProgramAnswers(kAnswerMs);
    if (!BoxShown())
        return {};
    // Other boxes have the same caption: the question is the one with its text.
    for (const auto& window : S().AccessibleWindows(kBoxTitle)) {
        Question q;
        bool asks = false;
        for (const DesktopSession::Accessible& a : window) {
            if (a.role == QLatin1String("label") && a.name == kExitQuestion)
                asks = true;
            else if (a.role == QLatin1String("push button") && a.name == QStringLiteral("Sì"))
                q.yes = a.place;
            else if (a.role == QLatin1String("push button") && a.name == QLatin1String("No"))
                q.no = a.place, q.noFocused = a.focused;
        }
        if (!asks)
            continue;
        for (const WindowInfo& w : S().WindowsNamed(kBoxTitle))
            if (w.geometry == window.front().place)
                q.box = w.id;
        if (!q.box)
            continue;
        // Keys reach it only while the window manager has it active (the keyboard may be in another
        // box with the same caption), and no menu holds them.
        q.keyboard = S().ActiveWindow() == q.box && !S().PopupMenu().id;
        return q;
    }
    return {};
}

RobotTest::Answer RobotTest::KeyAnswer(const Question& q, const QString& key)
{
    if (!q.keyboard)
        return Answer::None;
    if (key.size() == 1) {
        qsizetype length = 0;
        return TextAnswer(q, key, &length);
    }
    if (key == QLatin1String("alt+s"))
        return Answer::Yes;
    if (key == QLatin1String("alt+n") || key == QLatin1String("Escape"))
        return Answer::No;
    // Enter presses the focused button, as does the space.
    if (key == QLatin1String("Return") || key == QLatin1String("space"))
        return q.noFocused ? Answer::No : Answer::Yes;
    return Answer::None;
}

RobotTest::Answer RobotTest::TextAnswer(const Question& q, const QString& text, qsizetype* length)
{
    *length = text.size();
    if (!q.keyboard)
        return Answer::None;
    // A message box takes a plain letter for the button it marks ("&Sì", "&No"); a space presses
    // the focused button.
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i].toLower();
        *length = i + 1;
        if (c == QLatin1Char('s'))
            return Answer::Yes;
        if (c == QLatin1Char('n'))
            return Answer::No;
        if (c == QLatin1Char(' '))
            return q.noFocused ? Answer::No : Answer::Yes;
    }
    return Answer::None;
}

RobotTest::Answer RobotTest::ClickAnswer(const Question& q, const QPoint& at)
{
    // A click while a menu is open only closes the menu.
    if (!q.box || S().PopupMenu().id)
        return Answer::None;
    // The windows from the bottom of the stack to the top: one above the question takes the click.
    bool above = false;
    for (const WindowInfo& w : S().ProgramWindows()) {
        if (w.id == q.box)
            above = true;
        else if (above && w.geometry.contains(at))
            return Answer::None;
    }
    if (!above)
        return Answer::None;
    return q.yes.contains(at) ? Answer::Yes : q.no.contains(at) ? Answer::No : Answer::None;
}

void RobotTest::Press(const QString& key, const Question& q)
{
    const Answer answer = KeyAnswer(q, key);
    S().Key(key);
    if (answer == Answer::Yes)
        Confirm(q);
}

void RobotTest::Confirm(const Question& q)
{
    if (WaitFor([&] { return !S().ProgramRunning() || !Visible(q.box); }, kAnswerMs)) {
        confirmed_ = true;
        Note(QStringLiteral("the exit question answered Sì"));
    } else {
        Note(QStringLiteral("the exit question stayed: the Sì did not reach it"));
    }
}

void RobotTest::CloseTop()
{
    // As a user tidying up: the window on top gets Escape or its "Esci".
    WindowInfo top;
    for (const WindowInfo& w : Windows())
        if (!w.overrideRedirect && w.name != kMain)
            top = w;
    if (!top.id)
        return;
    const QString key = Chance(0.6) ? QStringLiteral("Escape") : QStringLiteral("alt+s");
    Note(QStringLiteral("close \"%1\" with %2").arg(top.name, key));
    Activate(top.id);
    Press(key, ExitQuestion());
}

void RobotTest::Errand()
{
    // What a user asks of the main window that ends in a message box: the settings saved, a record
    // added empty, a record deleted (a question, or a refusal for a contact with deadlines).
    static const std::vector<QStringList> errands = {
        {QStringLiteral("alt+m"), QStringLiteral("alt+o")},
        {QStringLiteral("alt+c"), QStringLiteral("alt+a"), QStringLiteral("alt+o")},
        {QStringLiteral("alt+g"), QStringLiteral("alt+a"), QStringLiteral("alt+o")},
        {QStringLiteral("alt+c"), QStringLiteral("Down"), QStringLiteral("alt+e")},
        {QStringLiteral("alt+g"), QStringLiteral("Down"), QStringLiteral("alt+e")}};
    const std::vector<WindowInfo> main = S().WindowsNamed(kMain);
    if (main.empty())
        return;
    const QStringList& keys = OneOf(errands);
    Note(QStringLiteral("errand: ") + keys.join(QLatin1Char(' ')));
    // What waits over the main window is closed first with its close box, as a user tidying up
    // does (a box so closed answers No).
    for (int i = 0; i < 4; ++i) {
        Activate(main.front().id);
        ExitQuestion();
        const unsigned long active = S().ActiveWindow();
        if (!active || active == main.front().id)
            break;
        S().RequestClose(active);
        Settle();
    }
    for (const QString& key : keys) {
        Settle();
        Press(key, ExitQuestion());
        if (confirmed_ || !S().ProgramRunning())
            return;
    }
    // And answers what came.
    Settle();
    const std::vector<WindowInfo> boxes = S().WindowsNamed(kBoxTitle);
    if (!boxes.empty())
        AnswerBox(boxes.back().id);
}

void RobotTest::PressKey()
{
    // The keys that close windows come more often: else the windows pile up.
    static const std::vector<QString> keys = {
        QStringLiteral("Escape"), QStringLiteral("Escape"), QStringLiteral("Escape"), QStringLiteral("Escape"),
        QStringLiteral("Return"), QStringLiteral("Return"), QStringLiteral("alt+s"),  QStringLiteral("alt+s"),
        QStringLiteral("Tab"),    QStringLiteral("shift+Tab"), QStringLiteral("Up"),  QStringLiteral("Down"),
        QStringLiteral("Left"),   QStringLiteral("Right"),  QStringLiteral("Home"),   QStringLiteral("End"),
        QStringLiteral("Delete"), QStringLiteral("space"),  QStringLiteral("ctrl+a"), QStringLiteral("alt+c"),
        QStringLiteral("alt+g"),  QStringLiteral("alt+m"),  QStringLiteral("alt+b"),  QStringLiteral("alt+i"),
        QStringLiteral("alt+e"),  QStringLiteral("alt+a"),  QStringLiteral("alt+t"),  QStringLiteral("alt+r"),
        QStringLiteral("alt+o"),  QStringLiteral("alt+n"),  QStringLiteral("alt+n"),  QStringLiteral("alt+v")};
    const QString key = OneOf(keys);
    const bool box = BoxShown();
    // Where the keys go: now and then another of the program's windows is brought up first.
    const std::vector<WindowInfo> windows = Windows();
    if (!windows.empty() && Chance(0.15)) {
        const WindowInfo w = OneOf(windows);
        if (!w.overrideRedirect) {
            Note(QStringLiteral("activate \"%1\"").arg(w.name));
            Activate(w.id);
        }
    }
    const unsigned long active = S().ActiveWindow();
    Note(QStringLiteral("key ") + key);
    Press(key, ExitQuestion());
    // The main window's "Esci" asks the exit question.
    const std::vector<WindowInfo> main = S().WindowsNamed(kMain);
    if (key == QLatin1String("alt+e") && !box && !main.empty() && active == main.front().id)
        AnswerExitQuestion();
}

QString RobotTest::RandomText()
{
    const QDate day = QDate(2020, 1, 1).addDays(Pick(4000));
    static const std::vector<QString> fixed = {
        QStringLiteral("31/11/2026"), QStringLiteral("29/02/2025"), QStringLiteral("00/13/2026"), QStringLiteral("12/1"),
        QStringLiteral("3/"),         QStringLiteral("1/1/2"),      QStringLiteral("L'Aquila"),   QStringLiteral("perché"),
        QStringLiteral("Società Cooperativa d'Arco"), QStringLiteral("Niccolò àèéìòù ÀÈÉÌÒÙ"), QStringLiteral("1.234,50"),
        QStringLiteral("-5"),         QStringLiteral("99999999999999999999"), QStringLiteral("0"), QStringLiteral("' or 1=1 --")};
    switch (Pick(4)) {
    case 0: return day.toString(QStringLiteral("dd/MM/yyyy"));
    case 1: return day.toString(Chance(0.5) ? QStringLiteral("d/M/yy") : QStringLiteral("dd-MM-yyyy"));
    case 2: return OneOf(fixed);
    default: {
        static const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyz ABCXYZ'àèéìòù0123456789,.");
        QString text;
        const int length = 40 + Pick(160);
        for (int i = 0; i < length; ++i)
            text += letters[Pick(static_cast<int>(letters.size()))];
        return text;
    }
    }
}

void RobotTest::TypeText()
{
    QString text = RandomText();
    Note(QStringLiteral("type \"%1\"").arg(text));
    // A space presses the focused button or menu entry, which may ask the exit question (the main
    // window's "Esci"), and what follows would answer it. So the text goes in pieces: up to what
    // answers the question when it shows, else up to a space.
    while (!text.isEmpty()) {
        const Question q = ExitQuestion();
        qsizetype length = text.size();
        const Answer answer = TextAnswer(q, text, &length);
        if (answer == Answer::None && text.indexOf(QLatin1Char(' ')) >= 0)
            length = text.indexOf(QLatin1Char(' ')) + 1;
        S().Run(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("4"), text.left(length)});
        text.remove(0, length);
        if (answer == Answer::Yes)
            Confirm(q);
        if (confirmed_ || !S().ProgramRunning())
            return;   // the rest has nowhere to go
    }
}

void RobotTest::Act()
{
    // A message box on top (the exit question or another) is answered often.
    const std::vector<WindowInfo> boxes = S().WindowsNamed(kBoxTitle);
    if (!boxes.empty() && Chance(0.5))
        return AnswerBox(boxes.back().id);
    // Weights: clicks, double clicks in grids, the icon, keys, texts, closing the window on top,
    // errands, the other program's lock.
    static const std::discrete_distribution<int>::param_type weights({30, 8, 10, 30, 12, 8, 10, 3});
    switch (std::discrete_distribution<int>(weights)(rng_)) {
    case 0: ClickSomewhere(); break;
    case 1: DoubleClickGrid(); break;
    case 2: IconMenu(); break;
    case 3: PressKey(); break;
    case 4: TypeText(); break;
    case 5: CloseTop(); break;
    case 6: Errand(); break;
    default: {
        const int ms = 2000 + Pick(5001);
        if (S().HoldDatabase(ms))
            Note(QStringLiteral("another program holds the database for %1 ms").arg(ms));
    }
    }
}

void RobotTest::Play(unsigned seed)
{
    seed_ = seed;
    rng_.seed(seed);
    steps_ = 0;
    failed_ = false;
    otherBoxes_ = 0;
    boxKeys_.clear();
    last_.clear();
    Open({.accessibility = true});   // the exit question is told by its text
    // A few contacts, a deadline long past, one this spring, and one from today: the balloon shows.
    DeadlineFromToday();
    S().Sql(QStringLiteral("insert into anagrafica (anagraficaid, tipologiaid, cognome, nome) values "
                           "(6, 2, 'D''Amico', 'Niccolò'), (7, 2, 'Rossi', 'Maria')"));
    S().Sql(QStringLiteral("insert into pagamenti (anagraficaid, datapagamento, importo, causale) values "
                           "(6, '2000-01-03 00:00:00', 0, 'Bollo'), (7, '2026-03-31 00:00:00', 12.5, 'Rata dell''auto')"));
    if (!Start())
        return;
    const QDeadlineTimer deadline(Seconds() * 1000);
    while (!deadline.hasExpired() && !failed_) {
        ++steps_;
        Act();
        if (!Healthy())
            return;
        Settle();
    }
    std::printf("seed %u: %d steps\n", seed, steps_);
}

TEST_P(RobotTest, PlaysRandomUserActions)
{
    const std::vector<unsigned> seeds = SeedsOfCase(GetParam());
    if (seeds.empty())
        GTEST_SKIP() << "no seed for this case";
    for (unsigned seed : seeds) {
        Play(seed);
        if (HasFailure())
            return;
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RobotTest, ::testing::Range(0, kCases));

} // namespace
