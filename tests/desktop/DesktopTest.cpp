// The program on a real desktop: the notification icon while windows are open, the balloon,
// Qt's own dialogs, the caption-bar buttons. Each test has an X server, a window manager and a
// notification area of its own, and drives the program with the pointer and the keyboard.
#include "desktop/DesktopSession.h"
#include <QDate>
#include <gtest/gtest.h>

using desktop::DesktopSession;
using desktop::WaitFor;
using desktop::WindowInfo;

namespace {

const QString kMain = QStringLiteral("Gestione Verbanto 1.0");
const QString kGrid = QStringLiteral("Gestione Verbanto 1.0 - Prossime scadenze");
const QString kDeadlines = QStringLiteral("Gestione Scadenze");

class DesktopTest : public ::testing::Test {
protected:
    void Open(DesktopSession::Options options = {})
    {
        session_ = std::make_unique<DesktopSession>(options);
        ASSERT_EQ(session_->Error(), QString());
        // A contact type, so no first-run editor comes in between.
        S().Sql(QStringLiteral("insert into TipologiaPersone (TIPOLOGIAID, Tipologia) values (2, 'Cliente')"));
    }
    void TearDown() override
    {
        if (HasFailure() && session_) {
            std::printf("program output:\n%s\nthe program's windows:\n", qPrintable(session_->ProgramLog()));
            for (const WindowInfo& w : session_->ProgramWindows())
                std::printf("  %lu \"%s\" %d,%d %dx%d%s\n", w.id, qPrintable(w.name), w.geometry.x(), w.geometry.y(),
                            w.geometry.width(), w.geometry.height(), w.overrideRedirect ? " override-redirect" : "");
            // For a closer look: the whole screen as the test left it.
            if (qEnvironmentVariableIsSet("VERBANTO_DESKTOP_SHOT"))
                session_->Grab(0).save(qEnvironmentVariable("VERBANTO_DESKTOP_SHOT"));
        }
        session_.reset();
    }
    DesktopSession& S() { return *session_; }

    void Contact() { S().Sql(QStringLiteral("insert into anagrafica (anagraficaid, tipologiaid, cognome, nome) values (5, 2, 'Bianchi', 'Anna')")); }
    // A deadline once, long past: the deadline list has a row and there is no balloon.
    void PastDeadline()
    {
        Contact();
        S().Sql(QStringLiteral("insert into pagamenti (anagraficaid, datapagamento, importo, causale) values (5, '2000-01-03 00:00:00', 0, 'Bollo')"));
    }
    // A daily deadline from today on: there are upcoming occurrences, so the balloon shows.
    void DeadlineFromToday()
    {
        Contact();
        S().Sql(QStringLiteral("insert into pagamenti (anagraficaid, datapagamento, importo, causale) values (5, '") +
                QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00', 1, 'Affitto')"));
    }

    WindowInfo MainWindow()
    {
        const auto w = S().WindowsNamed(kMain);
        return w.empty() ? WindowInfo{} : w.front();
    }
    bool Visible(unsigned long id)
    {
        for (const WindowInfo& w : S().ProgramWindows())
            if (w.id == id)
                return true;
        return false;
    }
    // What a window asks of the window manager (the Motif hints): whether its caption bar has
    // that button. Openbox follows them only in part: it never takes the minimise button away,
    // and it offers no maximise only to a window that can't be resized.
    static constexpr unsigned kMwmMinimize = 8;
    static constexpr unsigned kMwmMaximize = 16;
    bool AsksFor(unsigned long id, unsigned function)
    {
        const std::vector<unsigned long> hints = S().Numbers(id, QStringLiteral("_MOTIF_WM_HINTS"));
        if (hints.size() < 2 || !(hints[0] & 1) || (hints[1] & 1))
            return true;   // no functions given, or all of them
        return hints[1] & function;
    }
    // Hidden by the program itself, not just minimised: the window manager has let it go.
    bool Withdrawn(unsigned long id) { return S().Numbers(id, QStringLiteral("WM_STATE")).empty(); }
    QString AllowedActions(unsigned long id)
    {
        QStringList actions;
        WaitFor([&] {
            actions = S().Atoms(id, QStringLiteral("_NET_WM_ALLOWED_ACTIONS"));
            return actions.contains(QStringLiteral("_NET_WM_ACTION_CLOSE"));
        });
        return actions.join(QLatin1Char(' '));
    }
    void StartShowingMain(const QStringList& arguments = {})
    {
        ASSERT_TRUE(S().StartProgram(arguments));
        ASSERT_TRUE(S().WaitForWindow(kMain)) << "the main window did not show";
    }
    // Whether the icon's menu opened.
    bool RightClickIcon()
    {
        const WindowInfo icon = S().TrayIcon();
        if (!icon.id)
            return false;
        S().Click(icon.geometry.center(), 3);
        return WaitFor([&] { return S().PopupMenu().id != 0; });
    }

    // The menu's text lines from top to bottom: '+' for an item that can be chosen, '-' for one
    // drawn unavailable (grey); the separator is too thin to be a line of text.
    static QString ItemStates(const QImage& menu)
    {
        const int background = qGray(menu.pixel(menu.width() / 2, 2));
        std::vector<int> darkest;   // per row inside the frame
        for (int y = 3; y < menu.height() - 3; ++y) {
            int d = 255;
            for (int x = 4; x < menu.width() - 4; ++x)
                d = std::min(d, qGray(menu.pixel(x, y)));
            darkest.push_back(d);
        }
        darkest.push_back(255);   // ends the last line
        QString states;
        int start = -1, ink = 255;
        for (int i = 0; i < static_cast<int>(darkest.size()); ++i) {
            if (darkest[i] < background - 40) {
                if (start < 0)
                    start = i, ink = 255;
                ink = std::min(ink, darkest[i]);
            } else if (start >= 0) {
                if (i - start >= 5)
                    states += ink < 90 ? QLatin1Char('+') : QLatin1Char('-');
                start = -1;
            }
        }
        return states;
    }

private:
    std::unique_ptr<DesktopSession> session_;
};

} // namespace

TEST_F(DesktopTest, IconMenuAndDoubleClickWorkWhileAListIsOpen)
{
    Open();
    PastDeadline();
    StartShowingMain();
    const unsigned long main = MainWindow().id;
    S().Activate(main);
    S().Key(QStringLiteral("alt+g"));
    ASSERT_TRUE(S().WaitForWindow(kDeadlines));
    const WindowInfo list = S().WindowsNamed(kDeadlines).front();
    // A list window keeps both caption-bar buttons and can be resized.
    EXPECT_TRUE(AsksFor(list.id, kMwmMinimize));
    EXPECT_TRUE(AsksFor(list.id, kMwmMaximize));
    const QString actions = AllowedActions(list.id);
    EXPECT_TRUE(actions.contains(QLatin1String("_NET_WM_ACTION_MAXIMIZE_VERT"))) << actions.toStdString();

    // With the list open the menu offers only "Apri".
    ASSERT_TRUE(RightClickIcon()) << "no menu over the open list";
    const WindowInfo menu = S().PopupMenu();
    S().MovePointer(QPoint(900, 100));   // no entry under the pointer
    EXPECT_EQ(ItemStates(S().Grab(menu.id)), QStringLiteral("+--"));
    S().Key(QStringLiteral("Escape"));
    ASSERT_TRUE(WaitFor([&] { return S().PopupMenu().id == 0; }));

    // Minimised, the list takes the main window with it (which hides itself) and is out of reach
    // but for the icon: "Apri" brings it back.
    S().Minimize(list.id);
    ASSERT_TRUE(WaitFor([&] { return !Visible(list.id) && Withdrawn(main); }));
    ASSERT_TRUE(RightClickIcon());
    S().Key(QStringLiteral("Down Return"));   // the first entry that can be chosen
    ASSERT_TRUE(WaitFor([&] { return Visible(list.id); })) << "\"Apri\" did not bring the list back";
    EXPECT_NE(MainWindow().id, 0u);

    // And so does the double click.
    S().Minimize(list.id);
    ASSERT_TRUE(WaitFor([&] { return !Visible(list.id) && Withdrawn(main); }));
    S().Click(S().TrayIcon().geometry.center(), 1, 2);
    ASSERT_TRUE(WaitFor([&] { return Visible(list.id); })) << "the double click did not bring the list back";
    EXPECT_NE(MainWindow().id, 0u);

    // Closed, the list gives the menu its entries back.
    S().Activate(list.id);
    S().Key(QStringLiteral("alt+s"));   // "E&sci"
    ASSERT_TRUE(WaitFor([&] { return !Visible(list.id); }));
    ASSERT_TRUE(RightClickIcon());
    S().MovePointer(QPoint(900, 100));
    EXPECT_EQ(ItemStates(S().Grab(S().PopupMenu().id)), QStringLiteral("+++"));
    S().Key(QStringLiteral("Escape"));
}

TEST_F(DesktopTest, BalloonClickOpensTheGridAndTheIconBringsItBackWhenMinimised)
{
    Open();
    DeadlineFromToday();
    ASSERT_TRUE(S().StartProgram({QStringLiteral("-minimized")}));
    ASSERT_TRUE(WaitFor([&] { return S().Balloon().id != 0; })) << "no balloon";
    EXPECT_EQ(MainWindow().id, 0u);

    S().Click(S().Balloon().geometry.center());
    ASSERT_TRUE(S().WaitForWindow(kGrid)) << "the balloon did not open the grid";
    EXPECT_NE(MainWindow().id, 0u);
    const WindowInfo grid = S().WindowsNamed(kGrid).front();
    const unsigned long main = MainWindow().id;

    S().Minimize(grid.id);
    ASSERT_TRUE(WaitFor([&] { return !Visible(grid.id) && Withdrawn(main); }));
    S().Click(S().TrayIcon().geometry.center(), 1, 2);
    ASSERT_TRUE(WaitFor([&] { return Visible(grid.id); })) << "the double click did not bring the grid back";
}

TEST_F(DesktopTest, ACommandTakesTheBalloonAway)
{
    Open();
    DeadlineFromToday();
    StartShowingMain();
    ASSERT_TRUE(WaitFor([&] { return S().Balloon().id != 0; })) << "no balloon";
    S().Activate(MainWindow().id);
    S().Key(QStringLiteral("alt+i"));
    ASSERT_TRUE(S().WaitForWindow(QStringLiteral("Informazioni su Gestione Verbanto")));
    // Well before the balloon would go by itself.
    EXPECT_TRUE(WaitFor([&] { return S().Balloon().id == 0; }, 5000)) << "the balloon stayed";
}

TEST_F(DesktopTest, ARightClickOverTheBalloonOpensTheMenuOnly)
{
    Open();
    DeadlineFromToday();
    ASSERT_TRUE(S().StartProgram({QStringLiteral("-minimized")}));
    ASSERT_TRUE(WaitFor([&] { return S().Balloon().id != 0; })) << "no balloon";
    // Qt takes a click on the icon for a click on the balloon too: that would open the grid.
    ASSERT_TRUE(RightClickIcon());
    EXPECT_EQ(S().Balloon().id, 0u);
    EXPECT_TRUE(S().WindowsNamed(kGrid).empty());
    S().Key(QStringLiteral("Escape"));
}

TEST_F(DesktopTest, QtDialogsSpeakItalian)
{
    Open({.accessibility = true});
    Contact();
    StartShowingMain();
    ASSERT_TRUE(WaitFor([&] { return S().AccessibleShown(QStringLiteral("push button"), QStringLiteral("Contatti")); }))
        << "the program's windows are not on the accessibility bus";
    S().Activate(MainWindow().id);
    S().Key(QStringLiteral("alt+b"));   // the backup asks for a folder in Qt's input box
    EXPECT_TRUE(WaitFor([&] { return S().AccessibleShown(QStringLiteral("push button"), QStringLiteral("Annulla")); }));
    EXPECT_FALSE(S().AccessibleShown(QStringLiteral("push button"), QStringLiteral("Cancel")));
}

TEST_F(DesktopTest, CaptionBarButtonsAsEachWindowHasThem)
{
    Open();   // no contact: the contact list opens its editor at once
    StartShowingMain();
    // The main window: minimised into the icon, never maximised, a fixed border.
    const WindowInfo main = MainWindow();
    EXPECT_TRUE(AsksFor(main.id, kMwmMinimize));
    EXPECT_FALSE(AsksFor(main.id, kMwmMaximize));
    const QString mainActions = AllowedActions(main.id);
    EXPECT_TRUE(mainActions.contains(QLatin1String("_NET_WM_ACTION_MINIMIZE"))) << mainActions.toStdString();
    EXPECT_FALSE(mainActions.contains(QLatin1String("_NET_WM_ACTION_MAXIMIZE"))) << mainActions.toStdString();
    EXPECT_FALSE(mainActions.contains(QLatin1String("_NET_WM_ACTION_RESIZE"))) << mainActions.toStdString();

    // A dialog, the About box: neither button.
    const QString about = QStringLiteral("Informazioni su Gestione Verbanto");
    S().Activate(main.id);
    S().Key(QStringLiteral("alt+i"));
    ASSERT_TRUE(S().WaitForWindow(about));
    EXPECT_FALSE(AsksFor(S().WindowsNamed(about).front().id, kMwmMinimize));
    EXPECT_FALSE(AsksFor(S().WindowsNamed(about).front().id, kMwmMaximize));
    S().Key(QStringLiteral("Escape"));
    ASSERT_TRUE(WaitFor([&] { return S().WindowsNamed(about).empty(); }));

    // The contact editor: neither.
    S().Activate(main.id);
    S().Key(QStringLiteral("alt+c"));
    ASSERT_TRUE(S().WaitForWindow(QStringLiteral("Anagrafica Contatti")));
    const WindowInfo editor = S().WindowsNamed(QStringLiteral("Anagrafica Contatti")).front();
    EXPECT_FALSE(AsksFor(editor.id, kMwmMinimize));
    EXPECT_FALSE(AsksFor(editor.id, kMwmMaximize));

    // The contact list: no minimise, but maximised and resized as any list.
    S().Key(QStringLiteral("Escape"));   // the editor's "Annulla": the list shows
    ASSERT_TRUE(S().WaitForWindow(QStringLiteral("Contatti")));
    const WindowInfo list = S().WindowsNamed(QStringLiteral("Contatti")).front();
    EXPECT_FALSE(AsksFor(list.id, kMwmMinimize));
    EXPECT_TRUE(AsksFor(list.id, kMwmMaximize));
    const QString listActions = AllowedActions(list.id);
    EXPECT_TRUE(listActions.contains(QLatin1String("_NET_WM_ACTION_MAXIMIZE_VERT"))) << listActions.toStdString();
    EXPECT_TRUE(listActions.contains(QLatin1String("_NET_WM_ACTION_RESIZE"))) << listActions.toStdString();
}
