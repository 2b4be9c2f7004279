// The program on a real desktop: the notification icon while windows are open, the balloon,
// Qt's own dialogs, the caption-bar buttons. Each test has an X server, a window manager and a
// notification area of its own, and drives the program with the pointer and the keyboard.
#include "desktop/DesktopFixture.h"

using namespace desktop;

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

namespace {
const QString kBoxTitle = QStringLiteral("Gestione Verbanto");
} // namespace

TEST_F(DesktopTest, AWaitingBoxComesBackOnTopAndHoldsItsWindowOpen)
{
    Open();
    PastDeadline();
    // A date that can't be read: the start warns, with the window still hidden in the icon.
    S().Sql(QStringLiteral("insert into pagamenti (anagraficaid, datapagamento, importo, causale) values (5, '2024-02-30 00:00:00', 1, 'Rata')"));
    ASSERT_TRUE(S().StartProgram({QStringLiteral("-minimized")}));
    ASSERT_TRUE(WaitFor([&] { return S().WindowsNamed(kBoxTitle).size() == 1 && S().TrayIcon().id != 0; }, 30000))
        << "no warning";
    const unsigned long warning = S().WindowsNamed(kBoxTitle).front().id;
    OpenFromIcon();
    ASSERT_TRUE(WaitFor([&] { return MainWindow().id != 0; })) << "\"Apri\" did not show the window";
    EXPECT_TRUE(WaitFor([&] { return S().ActiveWindow() == warning; })) << "the warning is not the window in use";
    S().Key(QStringLiteral("Return"));
    ASSERT_TRUE(WaitFor([&] { return !Visible(warning); }));
    // The user opened the window while the start was telling: it stays.
    ASSERT_TRUE(S().ProgramAnswers(10000));
    const unsigned long main = MainWindow().id;
    ASSERT_NE(main, 0u) << "answering the warning hid the window again";

    // A list's question goes to the icon with the list and the window, and comes back with them.
    S().Activate(main);
    S().Key(QStringLiteral("alt+g"));
    ASSERT_TRUE(S().WaitForWindow(kDeadlines));
    const unsigned long list = S().WindowsNamed(kDeadlines).front().id;
    S().Activate(list);
    S().Key(QStringLiteral("Down alt+e"));   // the first row, "Elimina": "Sei sicuro di voler eliminare il record?"
    ASSERT_TRUE(WaitFor([&] { return S().WindowsNamed(kBoxTitle).size() == 1; })) << "no question";
    const unsigned long question = S().WindowsNamed(kBoxTitle).front().id;
    // Again and again: once back, the question goes with its list the next time too, and keeps
    // what it tells the window manager (modal, no longer minimised), also when it comes back
    // elsewhere, over a list the user moved.
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        S().Run(QStringLiteral("xdotool"), {QStringLiteral("windowmove"), QStringLiteral("--sync"), QString::number(list),
                                            QString::number(20 + 40 * round), QStringLiteral("40")});
        S().Minimize(list);
        ASSERT_TRUE(WaitFor([&] { return !Visible(list) && !Visible(question) && Withdrawn(main); }))
            << "the question did not go with its list";
        OpenFromIcon();
        ASSERT_TRUE(WaitFor([&] { return Visible(list); })) << "\"Apri\" did not bring the list back";
        ASSERT_TRUE(WaitFor([&] { return Visible(question) && S().ActiveWindow() == question; }))
            << "the question stayed in the icon";
        ASSERT_TRUE(S().WindowManagerDone());
        const QStringList state = S().Atoms(question, QStringLiteral("_NET_WM_STATE"));
        const bool modal = state.contains(QStringLiteral("_NET_WM_STATE_MODAL"));
        const bool minimised = state.contains(QStringLiteral("_NET_WM_STATE_HIDDEN"));
        EXPECT_TRUE(modal && !minimised) << "the question's _NET_WM_STATE: " << state.join(QLatin1Char(' ')).toStdString();
    }

    // Under its question the list can't be closed, and its window not either.
    S().RequestClose(list);
    S().RequestClose(main);
    ASSERT_TRUE(S().ProgramAnswers(10000));
    EXPECT_TRUE(Visible(list)) << "the list closed under its question";
    EXPECT_TRUE(Visible(question));
    S().Activate(question);
    S().Key(QStringLiteral("alt+n"));
    ASSERT_TRUE(WaitFor([&] { return !Visible(question); }));
    EXPECT_TRUE(Visible(list));
}

TEST_F(DesktopTest, AMenuWhoseMomentHasPassedNeverComes)
{
    Open();
    S().Sql(QStringLiteral("delete from TipologiaPersone"));
    StartShowingMain();
    // The first right click asks for a contact type before its menu.
    S().Click(S().TrayIcon().geometry.center(), 3);
    ASSERT_TRUE(S().WaitForWindow(QStringLiteral("Tipologie Soci"))) << "no contact type editor";
    // Meanwhile a second right click, "Esci", "No".
    ASSERT_TRUE(RightClickIcon());
    S().Key(QStringLiteral("Up Return"));
    ASSERT_TRUE(WaitFor([&] { return S().WindowsNamed(kBoxTitle).size() == 1; })) << "no exit question";
    const unsigned long question = S().WindowsNamed(kBoxTitle).front().id;
    S().Activate(question);
    S().Key(QStringLiteral("alt+n"));
    ASSERT_TRUE(WaitFor([&] { return !Visible(question); }));
    // Once the program is back in its loop, the first click's menu has not come.
    ASSERT_TRUE(S().ProgramAnswers(10000));
    ASSERT_TRUE(S().ProgramAnswers(10000));
    EXPECT_EQ(S().PopupMenu().id, 0u) << "a menu came unasked";
    EXPECT_TRUE(S().ProgramRunning());
}
