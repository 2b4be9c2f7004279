// The icon's menu on a real desktop: it shows after one right click in every state of the program
// (main window shown, minimised, hidden from the start, under an open list, over the balloon), a
// second right click soon after leaves it up, and a window that has just gone does not take it
// down with it. How soon it shows is measured by bench/bench_icon_menu.
#include "desktop/DesktopFixture.h"

using namespace desktop;

namespace {

// Longer without a menu is an icon that no longer answers, even on a busy machine.
constexpr int kMenuCeilingMs = 5000;

class IconMenuTest : public DesktopTest {
protected:
    // Right-clicks the icon once: whether its menu showed.
    bool RightClickShowsMenu()
    {
        S().MovePointer(S().TrayIcon().geometry.center());
        S().ClickNow(3);
        return S().MsToMenu(kMenuCeilingMs) >= 0;
    }
    // All input so far has been handled: the clicks have all been given, the window manager has
    // done what they asked of it, and then the program's event loop has come round twice (what
    // one turn posts has run by the next).
    bool Handled()
    {
        return S().HandDone() && S().WindowManagerDone() && S().ProgramAnswers(10000) && S().ProgramAnswers(10000);
    }
    // A menu that Qt takes down goes while it handles the input that brought it up.
    bool MenuStaysUp() { return Handled() && S().PopupMenu().id != 0; }
    bool CloseMenu()
    {
        S().Key(QStringLiteral("Escape"));
        return WaitFor([&] { return S().PopupMenu().id == 0; });
    }
    // One right click: the menu shows and stays up; then it is closed again.
    void ExpectMenu(const char* state)
    {
        SCOPED_TRACE(state);
        EXPECT_TRUE(RightClickShowsMenu()) << "no menu";
        EXPECT_TRUE(MenuStaysUp()) << "the menu closed as it opened";
        EXPECT_TRUE(CloseMenu());
    }
    void MinimizeAndWaitHidden(unsigned long id)
    {
        const unsigned long main = MainWindow().id;
        S().Minimize(id);
        ASSERT_TRUE(WaitFor([&] { return !Visible(id) && Withdrawn(main); }));
    }
};

} // namespace

TEST_F(IconMenuTest, ShowsWithTheMainWindowShownMinimisedOrUnderAList)
{
    Open();
    PastDeadline();
    StartShowingMain();
    const unsigned long main = MainWindow().id;
    S().Activate(main);
    ExpectMenu("main window shown, the first right click");   // which loads the menu's host
    ExpectMenu("main window shown");

    MinimizeAndWaitHidden(main);
    ExpectMenu("main window just minimised");
    ExpectMenu("main window minimised");

    S().Click(S().TrayIcon().geometry.center(), 1, 2);
    ASSERT_TRUE(WaitFor([&] { return Visible(main); }));
    S().Activate(main);
    S().Key(QStringLiteral("alt+g"));
    ASSERT_TRUE(S().WaitForWindow(kDeadlines));
    const unsigned long list = S().WindowsNamed(kDeadlines).front().id;
    ExpectMenu("a list open over the main window");
    MinimizeAndWaitHidden(list);
    ExpectMenu("the list minimised with the main window");
}

TEST_F(IconMenuTest, ShowsOverTheBalloonAndWhenStartedHidden)
{
    Open();
    DeadlineFromToday();
    ASSERT_TRUE(S().StartProgram({QStringLiteral("-minimized")}));
    ASSERT_TRUE(WaitFor([&] { return S().Balloon().id != 0; })) << "no balloon";
    ExpectMenu("over the balloon, the first right click");
    EXPECT_EQ(S().Balloon().id, 0u);
    ExpectMenu("started hidden");
    ExpectMenu("started hidden, again");
    EXPECT_EQ(MainWindow().id, 0u);
}

TEST_F(IconMenuTest, ASecondRightClickSoonAfterLeavesTheMenuUp)
{
    Open();
    PastDeadline();
    ASSERT_TRUE(S().StartProgram({QStringLiteral("-minimized")}));
    ASSERT_TRUE(WaitFor([&] { return S().TrayIcon().id != 0; }));
    S().MovePointer(S().TrayIcon().geometry.center());
    // Right on the heels of the first (the menu is still coming), and once it is up.
    for (bool menuUp : {false, true}) {
        SCOPED_TRACE(menuUp ? "once the menu is up" : "right after the first");
        S().ClickNow(3);
        if (menuUp) {
            ASSERT_GE(S().MsToMenu(kMenuCeilingMs), 0) << "no menu";
        }
        S().ClickNow(3);
        EXPECT_TRUE(WaitFor([&] { return S().PopupMenu().id != 0; }, kMenuCeilingMs)) << "no menu";
        EXPECT_TRUE(MenuStaysUp()) << "the second click took the menu away";
        EXPECT_TRUE(CloseMenu());
    }
    // And the menu left up has the keyboard: its first entry, "Apri", shows the main window.
    S().ClickNow(3);
    S().ClickNow(3);
    ASSERT_TRUE(WaitFor([&] { return S().PopupMenu().id != 0; }, kMenuCeilingMs));
    ASSERT_TRUE(MenuStaysUp());
    S().Key(QStringLiteral("Down Return"));
    EXPECT_TRUE(S().WaitForWindow(kMain)) << "\"Apri\" did not show the main window";
}

TEST_F(IconMenuTest, AWindowGoneJustBeforeTheMenuDoesNotTakeItDown)
{
    Open();
    StartShowingMain();
    S().MovePointer(S().TrayIcon().geometry.center());
    S().Activate(MainWindow().id);
    // Another program holds the file a while: the first right click waits for it to load the
    // menu's host, and the menu shows only after the program has let the minimised window's
    // focus go.
    ASSERT_TRUE(S().HoldDatabase(1000));
    S().Minimize(MainWindow().id);
    S().ClickNow(3);
    ASSERT_GE(S().MsToMenu(30000), 0) << "no menu";
    ASSERT_TRUE(MenuStaysUp()) << "the menu closed as it opened";
    // And it has the keyboard: "Apri" brings the window back.
    S().Key(QStringLiteral("Down Return"));
    EXPECT_TRUE(WaitFor([&] { return MainWindow().id != 0; })) << "\"Apri\" did not show the main window";
}

namespace {

const QString kQuestionBox = QStringLiteral("Gestione Verbanto");

class IconExitTest : public IconMenuTest {
protected:
    // The icon's menu comes over whatever is open, with its items in these states; then the
    // keys choose.
    void ChooseFromTheMenu(const QString& states, const QString& keys)
    {
        ASSERT_TRUE(RightClickShowsMenu()) << "no menu";
        // Read once it is drawn, with no entry under the pointer.
        S().MovePointer(QPoint(900, 100));
        QString shown;
        WaitFor([&] { return (shown = ItemStates(S().Grab(S().PopupMenu().id))).size() == 3; }, kMenuCeilingMs);
        EXPECT_EQ(shown, states);
        S().Key(keys);
        ASSERT_TRUE(WaitFor([&] { return S().PopupMenu().id == 0; }));
    }
    void ChooseExitFromTheMenu() { ChooseFromTheMenu(QStringLiteral("+++"), QStringLiteral("Up Return")); }
    std::vector<unsigned long> Boxes()
    {
        std::vector<unsigned long> ids;
        for (const WindowInfo& w : S().WindowsNamed(kQuestionBox))
            ids.push_back(w.id);
        return ids;
    }
    void Answer(unsigned long box, const QString& keys)
    {
        S().Activate(box);
        S().Key(keys);
        EXPECT_TRUE(WaitFor([&] { return !Visible(box); })) << "the box stayed";
    }
    void ExpectCleanEnd()
    {
        ASSERT_TRUE(WaitFor([&] { return !S().ProgramRunning(); }, 15000)) << "the program did not end";
        EXPECT_EQ(S().ProgramStatus(), 0) << "it ended, but not with status 0";
        EXPECT_FALSE(S().ProgramLog().contains(QStringLiteral("Sanitizer")));
    }
};

} // namespace

TEST_F(IconExitTest, TheMenuComesOverTheExitQuestionAndTheExitEndsCleanly)
{
    Open();
    PastDeadline();
    StartShowingMain();
    S().Activate(MainWindow().id);
    S().Key(QStringLiteral("alt+e"));
    ASSERT_TRUE(WaitFor([&] { return Boxes().size() == 1; })) << "no question";
    const unsigned long question = Boxes().front();
    // "Esci" again while the question waits: it asks nothing more.
    ChooseExitFromTheMenu();
    ASSERT_TRUE(Handled());
    EXPECT_EQ(Boxes().size(), 1u) << "a second question";
    Answer(question, QStringLiteral("alt+n"));
    EXPECT_TRUE(S().ProgramRunning());

    // Hidden in the icon, "Esci" then "Sì".
    S().Minimize(MainWindow().id);
    ASSERT_TRUE(WaitFor([&] { return MainWindow().id == 0; }));
    ChooseExitFromTheMenu();
    ASSERT_TRUE(WaitFor([&] { return Boxes().size() == 1; })) << "no question";
    Answer(Boxes().front(), QStringLiteral("Return"));
    ExpectCleanEnd();
}

TEST_F(IconExitTest, TheMenuComesOverTheStartWarningAndItsExitEndsCleanly)
{
    Open();
    Contact();
    S().Sql(QStringLiteral("insert into pagamenti (anagraficaid, datapagamento, importo, causale) values (5, '2024-02-30 00:00:00', 1, 'Rata')"));
    ASSERT_TRUE(S().StartProgram({QStringLiteral("-minimized")}));
    ASSERT_TRUE(WaitFor([&] { return Boxes().size() == 1 && S().TrayIcon().id != 0; }, 30000)) << "no warning";
    const unsigned long warning = Boxes().front();
    ChooseExitFromTheMenu();
    ASSERT_TRUE(WaitFor([&] { return Boxes().size() == 2; })) << "no question";
    const std::vector<unsigned long> boxes = Boxes();
    const unsigned long question = boxes[0] == warning ? boxes[1] : boxes[0];
    // Sì: the warning the start was telling goes with the program.
    Answer(question, QStringLiteral("Return"));
    ExpectCleanEnd();
}

TEST_F(IconExitTest, TheMenuComesAgainOverTheGridItOpened)
{
    Open();
    PastDeadline();
    StartShowingMain();
    ChooseFromTheMenu(QStringLiteral("+++"), QStringLiteral("Down Down Return"));   // "Visualizza prossime scadenze"
    ASSERT_TRUE(S().WaitForWindow(kGrid));
    ChooseFromTheMenu(QStringLiteral("+--"), QStringLiteral("Escape"));
    EXPECT_TRUE(S().ProgramRunning());
}
