#pragma once
// The notification-area icon with its balloon, on QSystemTrayIcon. Its mouse actions come back
// as the three events; in scripted mode nothing reaches the desktop: the balloon is recorded
// (Script kind "balloon") and tests play the user through the User* gestures.
// The balloon is Qt's own when the icon sits in an XEmbed notification area, a desktop
// notification otherwise; either can be taken back.
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QObject;
class QSystemTrayIcon;
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

    // What is shown.
    bool IconShown() const { return shown_; }
    QString ToolTip() const { return toolTip_; }
    bool BalloonShown() const { return balloonShown_; }

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
    bool iconDocked();
    std::unique_ptr<QSystemTrayIcon> icon_;
    std::unique_ptr<QObject> iconWatch_;                 // the mouse on the icon
    std::unique_ptr<QObject> menuUpWatch_;               // right clicks on the icon while its menu is up
    std::unique_ptr<DesktopNotification> notice_;        // the balloon as a desktop notification
    std::optional<bool> noticeServer_;                   // whether the desktop has a notification server
    std::unique_ptr<QObject> dockWatch_;                 // the icon taken in by the notification area
    std::function<void()> pendingBalloon_;              // the balloon that waits for it
    unsigned gestures_ = 0;                              // gestures made so far
    std::vector<unsigned> handling_;                     // those whose handlers run, the innermost last
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);   // a handler may end the icon
    bool iconPressed_ = false;
    bool shown_ = false;
    bool balloonShown_ = false;
    QString toolTip_;
};

} // namespace platform
