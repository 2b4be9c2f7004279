#pragma once
// One desktop notification (org.freedesktop.Notifications over the D-Bus session bus) that the
// program can take back: Qt's own tray notifications on that path forget the notification's id,
// so they can be neither replaced nor closed. Calls are asynchronous: the user interface never
// waits for the notification server.
#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <functional>

namespace platform {

class DesktopNotification : public QObject {
    Q_OBJECT
public:
    explicit DesktopNotification(const QDBusConnection& bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);

    // Whether a notification server is running (or can be started) on the bus.
    static bool ServerPresent(const QDBusConnection& bus = QDBusConnection::sessionBus());

    // Shows the notification, replacing the one shown before. Lines are separated by "\n".
    void Show(const QString& appName, const QString& title, const QString& text, const QString& iconName, int timeoutMs);
    // Takes the notification away; nothing happens when none is shown.
    void Close();
    bool Shown() const { return shown_; }
    uint Id() const { return id_; }   // the server's id, 0 while none is shown or it is not known yet

    std::function<void()> Clicked;   // the user clicked the notification (its default action)

private slots:
    void actionInvoked(uint id, const QString& action);
    void notificationClosed(uint id, uint reason);

private:
    QDBusConnection bus_;
    uint id_ = 0;               // the server's id of the notification on screen, 0 while none or unknown
    bool shown_ = false;
    bool closeWhenKnown_ = false;   // closed before the server told its id
    quint64 generation_ = 0;   // replies to earlier Show calls are stale
};

} // namespace platform
