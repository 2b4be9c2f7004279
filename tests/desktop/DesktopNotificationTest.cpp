// The balloon as a desktop notification, against a notification server of the test's own on a
// private bus: shown, replaced, clicked, taken back, also before the server has told its id.
#include "desktop/DesktopSession.h"
#include "platform/DesktopNotification.h"
#include <QDBusConnection>
#include <QFile>
#include <QTemporaryDir>
#include <QVariantMap>
#include <gtest/gtest.h>

using desktop::WaitFor;
using platform::DesktopNotification;

namespace {

class FakeNotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Notice {
        QString app;
        uint replaces;
        QString icon, summary, body;
        QStringList actions;
        int timeout;
    };
    std::vector<Notice> notices;
    std::vector<uint> closed;

public slots:
    uint Notify(const QString& app, uint replaces, const QString& icon, const QString& summary, const QString& body,
                const QStringList& actions, const QVariantMap& /*hints*/, int timeout)
    {
        notices.push_back({app, replaces, icon, summary, body, actions, timeout});
        return replaces ? replaces : ++lastId_;
    }
    void CloseNotification(uint id) { closed.push_back(id); }

signals:
    void ActionInvoked(uint id, const QString& action);
    void NotificationClosed(uint id, uint reason);

private:
    uint lastId_ = 40;
};

// A bus with no service but the ones the test puts on it.
const char* const kBareBus = R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=@DIR@</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

class DesktopNotificationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        QFile config(dir_.path() + QStringLiteral("/bus.conf"));
        ASSERT_TRUE(config.open(QIODevice::WriteOnly));
        config.write(QString::fromLatin1(kBareBus).replace(QStringLiteral("@DIR@"), dir_.path()).toUtf8());
        config.close();
        address_ = desktop::StartSessionBus(processes_, {}, dir_.path() + QStringLiteral("/bus.log"), config.fileName());
        ASSERT_FALSE(address_.isEmpty()) << "dbus-daemon did not start";
        client_ = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address_, QStringLiteral("client")));
        ASSERT_TRUE(client_->isConnected());
    }
    void TearDown() override
    {
        notice_.reset();
        client_.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
        QDBusConnection::disconnectFromBus(QStringLiteral("server"));
        processes_.EndAll();
    }

    void StartServer()
    {
        QDBusConnection server = QDBusConnection::connectToBus(address_, QStringLiteral("server"));
        ASSERT_TRUE(server.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &server_,
                                          QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals));
        ASSERT_TRUE(server.registerService(QStringLiteral("org.freedesktop.Notifications")));
    }

    DesktopNotification& Notice()
    {
        if (!notice_) {
            notice_ = std::make_unique<DesktopNotification>(*client_);
            notice_->Clicked = [this] { ++clicks_; };
        }
        return *notice_;
    }

    void ShowBalloon(const QString& text = QStringLiteral("Le tue scadenze:\n\nHai 3 prossime scadenze"))
    {
        Notice().Show(QStringLiteral("Gestione Verbanto"), QStringLiteral("Gestione Verbanto 1.0"), text,
                      QStringLiteral("dialog-information"), 15000);
    }

    QTemporaryDir dir_;
    desktop::Processes processes_;
    QString address_;
    std::unique_ptr<QDBusConnection> client_;
    FakeNotificationServer server_;
    std::unique_ptr<DesktopNotification> notice_;
    int clicks_ = 0;
};

} // namespace

TEST_F(DesktopNotificationTest, ServerPresentOnlyWhenOneRuns)
{
    EXPECT_FALSE(DesktopNotification::ServerPresent(*client_));
    StartServer();
    EXPECT_TRUE(DesktopNotification::ServerPresent(*client_));
}

TEST_F(DesktopNotificationTest, ShownThenTakenBackByItsId)
{
    StartServer();
    ShowBalloon();
    EXPECT_TRUE(Notice().Shown());
    ASSERT_TRUE(WaitFor([&] { return Notice().Id() != 0; }));
    ASSERT_EQ(server_.notices.size(), 1u);
    const auto& n = server_.notices[0];
    EXPECT_EQ(n.app, QStringLiteral("Gestione Verbanto"));
    EXPECT_EQ(n.replaces, 0u);
    EXPECT_EQ(n.summary, QStringLiteral("Gestione Verbanto 1.0"));
    EXPECT_EQ(n.body, QStringLiteral("Le tue scadenze:\n\nHai 3 prossime scadenze"));
    EXPECT_EQ(n.icon, QStringLiteral("dialog-information"));
    EXPECT_TRUE(n.actions.contains(QStringLiteral("default")));
    EXPECT_EQ(n.timeout, 15000);

    const uint id = Notice().Id();
    Notice().Close();
    EXPECT_FALSE(Notice().Shown());
    ASSERT_TRUE(WaitFor([&] { return !server_.closed.empty(); }));
    EXPECT_EQ(server_.closed, std::vector<uint>{id});

    // A second show is a new notification, and a second close has nothing to take back.
    Notice().Close();
    ShowBalloon();
    ASSERT_TRUE(WaitFor([&] { return server_.notices.size() == 2; }));
    EXPECT_EQ(server_.notices[1].replaces, 0u);
    EXPECT_EQ(server_.closed.size(), 1u);
}

TEST_F(DesktopNotificationTest, TakenBackEvenBeforeTheServerToldItsId)
{
    StartServer();
    ShowBalloon();
    Notice().Close();   // the reply to the show has not been read yet
    EXPECT_FALSE(Notice().Shown());
    ASSERT_TRUE(WaitFor([&] { return !server_.closed.empty(); }));
    EXPECT_EQ(server_.closed, std::vector<uint>{41});
}

TEST_F(DesktopNotificationTest, ANewBalloonReplacesTheOneShown)
{
    StartServer();
    ShowBalloon(QStringLiteral("uno"));
    ASSERT_TRUE(WaitFor([&] { return Notice().Id() != 0; }));
    ShowBalloon(QStringLiteral("due"));
    ASSERT_TRUE(WaitFor([&] { return server_.notices.size() == 2; }));
    EXPECT_EQ(server_.notices[1].replaces, 41u);
    EXPECT_EQ(server_.notices[1].body, QStringLiteral("due"));
}

TEST_F(DesktopNotificationTest, AShowOvertakenByAnotherLeavesNothingBehind)
{
    StartServer();
    ShowBalloon(QStringLiteral("uno"));
    ShowBalloon(QStringLiteral("due"));   // sent before the first one's id is known
    ASSERT_TRUE(WaitFor([&] { return Notice().Id() != 0 && !server_.closed.empty(); }));
    EXPECT_EQ(Notice().Id(), 42u);
    EXPECT_EQ(server_.closed, std::vector<uint>{41});
}

TEST_F(DesktopNotificationTest, ClickOnItIsTheBalloonClick)
{
    StartServer();
    ShowBalloon();
    ASSERT_TRUE(WaitFor([&] { return Notice().Id() != 0; }));
    const uint id = Notice().Id();
    emit server_.ActionInvoked(id + 7, QStringLiteral("default"));   // another program's notification
    emit server_.ActionInvoked(id, QStringLiteral("default"));
    ASSERT_TRUE(WaitFor([&] { return clicks_ > 0; }));
    EXPECT_EQ(clicks_, 1);
    EXPECT_FALSE(Notice().Shown());
    ASSERT_TRUE(WaitFor([&] { return !server_.closed.empty(); }));
    EXPECT_EQ(server_.closed, std::vector<uint>{id});
}

TEST_F(DesktopNotificationTest, OneTheServerClosedIsNotClosedAgain)
{
    StartServer();
    ShowBalloon();
    ASSERT_TRUE(WaitFor([&] { return Notice().Id() != 0; }));
    emit server_.NotificationClosed(Notice().Id(), 1);   // expired
    ASSERT_TRUE(WaitFor([&] { return !Notice().Shown(); }));
    Notice().Close();
    ShowBalloon();
    ASSERT_TRUE(WaitFor([&] { return server_.notices.size() == 2; }));
    EXPECT_TRUE(server_.closed.empty());
    EXPECT_EQ(server_.notices[1].replaces, 0u);
}

#include "DesktopNotificationTest.moc"
