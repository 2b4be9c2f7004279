// A notification area that comes after the program, or goes while the program lives in it: the
// program stays within a person's reach, its window shown or listed, or its icon in the area.
#include "desktop/DesktopFixture.h"

using namespace desktop;

TEST_F(DesktopTest, ANotificationAreaThatComesLateTakesTheIconAndItsBalloon)
{
    Open({.tray = false});
    DeadlineFromToday();
    // Started with the session, before its panel: without an area the window is the way in.
    StartShowingMain({QStringLiteral("-minimized")});
    const unsigned long main = MainWindow().id;
    S().Minimize(main);
    ASSERT_TRUE(S().WindowManagerDone());
    ASSERT_TRUE(S().ProgramAnswers(10000, main));
    EXPECT_TRUE(Iconic(main)) << "minimised without an area, the window left the window manager's list";
    // With neither an area nor a notification server the balloon has nowhere to show, longer
    // than it waits for an icon: it keeps waiting.
    EXPECT_FALSE(WaitFor([&] { return S().AnyBalloon().id != 0; }, 12000));

    ASSERT_TRUE(S().StartTray());
    EXPECT_TRUE(WaitFor([&] { return S().TrayIcon().id != 0; })) << "the icon did not come into the area";
    EXPECT_TRUE(WaitFor([&] { return S().Balloon().id != 0; }, 15000)) << "no balloon at the icon";
    EXPECT_TRUE(Iconic(main)) << "the window did not stay as the user left it";

    // From now on the window goes into the icon, and comes back from it.
    OpenFromIcon();
    ASSERT_TRUE(WaitFor([&] { return Visible(main); })) << "\"Apri\" did not show the window";
    S().Minimize(main);
    EXPECT_TRUE(WaitFor([&] { return Withdrawn(main); })) << "minimised, the window did not go into the icon";
    OpenFromIcon();
    EXPECT_TRUE(WaitFor([&] { return Visible(main); })) << "\"Apri\" did not bring the window back";
}

TEST_F(DesktopTest, ANotificationAreaThatGoesGivesTheWindowBack)
{
    Open();
    PastDeadline();
    StartShowingMain();
    const unsigned long main = MainWindow().id;
    ASSERT_TRUE(WaitFor([&] { return S().TrayIcon().id != 0; }));
    S().Minimize(main);
    ASSERT_TRUE(WaitFor([&] { return Withdrawn(main); }));

    S().EndTray();   // the panel ends
    EXPECT_TRUE(WaitFor([&] { return Visible(main); }, 10000)) << "the window stayed hidden in an icon that is gone";

    // A new panel takes the icon in again.
    ASSERT_TRUE(S().StartTray());
    EXPECT_TRUE(WaitFor([&] { return S().TrayIcon().id != 0; })) << "the icon did not come into the new area";
    S().Minimize(main);
    EXPECT_TRUE(WaitFor([&] { return Withdrawn(main); }));
}

TEST_F(DesktopTest, TheFirstBalloonWaitsForTheIconAWhileThenShowsWhereItCan)
{
    Open();
    DeadlineFromToday();
    S().PauseTray(true);   // busy: the icon is not taken in yet
    StartShowingMain();
    ASSERT_TRUE(S().ProgramAnswers(10000));   // the start, and its balloon, are over
    EXPECT_EQ(S().AnyBalloon().id, 0u) << "a balloon far from the icon";
    // Minimised while the icon is in no area yet, the window stays in the window manager's list.
    const unsigned long main = MainWindow().id;
    S().Minimize(main);
    ASSERT_TRUE(S().WindowManagerDone());
    ASSERT_TRUE(S().ProgramAnswers(10000, main));
    EXPECT_TRUE(Iconic(main)) << "the window went into an icon that is in no area";

    // An area that never takes the icon in does not keep the balloon for ever.
    EXPECT_TRUE(WaitFor([&] { return S().AnyBalloon().id != 0; }, 30000)) << "the balloon still waits";
    S().PauseTray(false);
    EXPECT_TRUE(WaitFor([&] { return S().Balloon().id != 0; })) << "no balloon at the icon";
    EXPECT_TRUE(Iconic(main));
}
