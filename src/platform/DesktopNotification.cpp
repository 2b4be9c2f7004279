#include "platform/DesktopNotification.h"
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusReply>
#include <QStringList>
#include <QVariantMap>

namespace platform {

namespace {
const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

QDBusMessage call(const QString& method) { return QDBusMessage::createMethodCall(kService, kPath, kInterface, method); }
} // namespace

DesktopNotification::DesktopNotification(const QDBusConnection& bus, QObject* parent) : QObject(parent), bus_(bus)
{
    bus_.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this, SLOT(actionInvoked(uint,QString)));
    bus_.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                 SLOT(notificationClosed(uint,uint)));
}

bool DesktopNotification::ServerPresent(const QDBusConnection& bus)
{
    if (!bus.isConnected() || !bus.interface())
        return false;
    if (bus.interface()->isServiceRegistered(kService))
        return true;
    const QDBusReply<QStringList> activatable = bus.interface()->activatableServiceNames();
    return activatable.isValid() && activatable.value().contains(kService);
}

void DesktopNotification::Show(const QString& appName, const QString& title, const QString& text, const QString& iconName,
                               int timeoutMs)
{
    QDBusMessage notify = call(QStringLiteral("Notify"));
    // The "default" action is the click on the notification itself.
    notify << appName << id_ << iconName << title << text
           << QStringList{QStringLiteral("default"), QStringLiteral("Visualizza")} << QVariantMap() << timeoutMs;
    const quint64 generation = ++generation_;
    shown_ = true;
    closeWhenKnown_ = false;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(notify), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, generation](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<uint> reply = *w;
        if (reply.isError()) {
            if (generation == generation_)
                shown_ = false;
            return;
        }
        const uint id = reply.value();
        if (generation != generation_) {
            // A later notification is on its way: this one must not stay behind it.
            if (id != id_)
                bus_.asyncCall(call(QStringLiteral("CloseNotification")) << id);
            return;
        }
        id_ = id;
        if (closeWhenKnown_) {
            closeWhenKnown_ = false;
            Close();
        }
    });
}

void DesktopNotification::Close()
{
    if (!shown_ && !id_)
        return;
    shown_ = false;
    if (!id_) {
        closeWhenKnown_ = true;   // the server has not told its id yet
        return;
    }
    bus_.asyncCall(call(QStringLiteral("CloseNotification")) << id_);
    id_ = 0;
}

void DesktopNotification::actionInvoked(uint id, const QString& action)
{
    if (!id || id != id_ || action != QLatin1String("default"))
        return;
    Close();   // not every server takes it away by itself
    if (Clicked)
        Clicked();
}

void DesktopNotification::notificationClosed(uint id, uint /*reason*/)
{
    if (!id || id != id_)
        return;
    id_ = 0;
    shown_ = false;
}

} // namespace platform
