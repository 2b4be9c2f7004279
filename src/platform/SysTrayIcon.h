#pragma once
// The notification-area icon with its balloon, on QSystemTrayIcon. Its mouse actions come back
// as the three events; in scripted mode nothing reaches the desktop: the balloon is recorded
// (Script kind "balloon") and tests play the user through the User* gestures.
// The balloon is Qt's own when the icon sits in an XEmbed notification area, a desktop
// notification otherwise; either can be taken back.
// The icon is made whatever the desktop offers, and follows the notification area: it comes in
// when an area appears (also late, after the program) and again when a new one replaces it.
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QObject;
class QSystemTrayIcon;
class QTimer;
class QWidget;

namespace platform {

class DesktopNotification;

class SysTrayIcon {
public:
    SysTrayIcon();
    ~SysTrayIcon();                       // the icon leaves the notification area
    SysTrayIcon(const SysTrayIcon&) = delete;
    SysTrayIcon& operator=(const SysTrayIcon&) = delete;

    // Puts the icon in the notification area; an icon path that gives no picture falls back to
    // a standard one.
    void AddIcon(const QString& toolTip, long hwnd, const QString& iconPath);
    // Text lines may be separated by CR LF. Kind 1 = information.
    void ShowBalloon(const QString& text, const QString& title, int kind);
    void HideBalloon();

    std::function<void()> RightButtonClick;
    std::function<void()> LeftButtonDblClick;
    std::function<void()> BalloonClick;
    // The icon has been out of every notification area for a few seconds: there was none at the
    // start, or the one it sat in went and none took it back. A window hidden in the icon is then
    // out of reach.
    std::function<void()> AreaGone;

    // What is shown.
    bool IconShown() const { return shown_; }
    QString ToolTip() const { return toolTip_; }
    bool BalloonShown() const { return balloonShown_; }
    // Whether the icon sits in a notification area now, where a person can reach it (in
    // scripted mode: whether the desktop has one).
    bool Docked();

    // A user's gestures (also what the tests use).
    void UserRightClick();
    void UserDoubleClick();
    void UserClickBalloon();
    // Whether another gesture came while the one being handled waited (on a window it had to
    // open first, say): what that one would still show is no longer asked for.
    bool GestureSuperseded() const { return !handling_.empty() && handling_.back() != gestures_; }

    // Whether the desktop has a notification area. Tests set it; empty = ask the desktop
    // (in scripted mode a desktop with one is assumed).
    static bool Available();
    static void setAvailable(std::optional<bool> available);

private:
    // Runs a gesture's handler; false when the icon went meanwhile.
    bool fire(const std::function<void()>& handler);
    QWidget* xembedIcon();
    // The icon's place may have changed: it came into a notification area, or left it.
    void placeChanged();
    // Shows the balloon as a desktop notification; false where the desktop has no server for them.
    bool notify(const QString& title, const QString& lines, int kind);
    void dropPendingBalloon();
    std::unique_ptr<QSystemTrayIcon> icon_;
    bool dbusTray_ = false;                              // Qt shows the icon over D-Bus, not as a window of its own
    QPointer<QWidget> iconWindow_;                       // Qt's window of the icon, while there is one
    std::unique_ptr<QObject> iconWatch_;                 // the mouse on the icon
    std::unique_ptr<QObject> menuUpWatch_;               // right clicks on the icon while its menu is up
    std::unique_ptr<DesktopNotification> notice_;        // the balloon as a desktop notification
    std::optional<bool> noticeServer_;                   // whether the desktop has a notification server
    std::unique_ptr<QObject> areaWatch_;                 // the icon's window coming, going, taken in
    bool docked_ = false;
    std::unique_ptr<QTimer> goneTimer_;                  // how long the icon may stay out of an area
    std::function<bool()> pendingBalloon_;              // the balloon that waits for the icon: shows it where it can
    std::unique_ptr<QTimer> balloonTimer_;               // how long it waits
    unsigned gestures_ = 0;                              // gestures made so far
    std::vector<unsigned> handling_;                     // those whose handlers run, the innermost last
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);   // a handler may end the icon
    bool iconPressed_ = false;
    bool shown_ = false;
    bool balloonShown_ = false;
    QString toolTip_;
};

} // namespace platform
