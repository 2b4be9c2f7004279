#include "platform/SysTrayIcon.h"
#include "platform/App.h"
#include "platform/DesktopNotification.h"
#include "platform/Forms.h"
#include "platform/ScriptedMode.h"
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <utility>

namespace platform {

namespace {
std::optional<bool>& availableOverride()
{
    static std::optional<bool> v;
    return v;
}

constexpr int kBalloonTimeoutMs = 15000;
// How long the icon may be out of a notification area before the program is told: a panel that
// restarts takes a moment, and the first one may come a little after the program.
constexpr int kAreaGoneMs = 3000;
// How long a balloon waits for the icon to be in a notification area; then it shows where it can.
constexpr int kBalloonWaitMs = 10000;

// Watches the mouse on the icon. A button going down there is marked: Qt reports such a click
// as a click on its balloon too, when one is shown, and the icon's own gesture must not open the
// grid. And a right click that follows another one quickly comes as a double click, which Qt
// drops: it is a right click all the same.
class IconMouseWatch : public QObject {
public:
    IconMouseWatch(bool& pressed, std::function<void()> rightClick) : pressed_(pressed), rightClick_(std::move(rightClick)) {}
    bool eventFilter(QObject*, QEvent* ev) override
    {
        switch (ev->type()) {
        case QEvent::MouseButtonPress:
            pressed_ = true;
            return false;
        case QEvent::MouseButtonDblClick:
            pressed_ = true;
            if (static_cast<QMouseEvent*>(ev)->button() == Qt::RightButton) {
                pressed_ = false;
                rightClick_();
                return true;
            }
            return false;
        case QEvent::MouseButtonRelease:
            pressed_ = false;
            return false;
        default:
            return false;
        }
    }
private:
    bool& pressed_;
    std::function<void()> rightClick_;
};

// While the menu of a right click on the icon is coming or up, another right click on the icon asks
// for what is there already. Qt would take it for a click away from the menu and close it, and
// the user would need a third click: the menu stays instead.
// The menu is gone once it hides; and it never comes when a window comes in its place (the
// first use may ask for a contact type first). An item's handler may keep a window of its own
// open long after (the upcoming deadlines): the icon's clicks are then the user's again.
class MenuUpWatch : public QObject {
public:
    bool active = false;
    QRect icon;   // on the screen
    bool eventFilter(QObject* o, QEvent* ev) override
    {
        if (!active)
            return false;
        if ((ev->type() == QEvent::Hide || ev->type() == QEvent::Show) && o->isWidgetType()) {
            const auto* w = static_cast<QWidget*>(o);
            const bool popup = w->windowType() == Qt::Popup;
            if (w->isWindow() && (ev->type() == QEvent::Hide ? popup : !popup && w->windowType() != Qt::ToolTip))
                active = false;
            return false;
        }
        if (ev->type() != QEvent::MouseButtonPress && ev->type() != QEvent::MouseButtonDblClick)
            return false;
        const auto* mouse = static_cast<QMouseEvent*>(ev);
        return mouse->button() == Qt::RightButton && QApplication::activePopupWidget() &&
               icon.contains(mouse->globalPosition().toPoint());
    }
};
// Qt makes the icon's window anew for each notification area that comes, and ends it when the
// area goes: whatever happens to such a window, or to its exposure (the area took it in), the
// icon's place may have changed.
class AreaWatch : public QObject {
public:
    explicit AreaWatch(std::function<void()> changed) : changed_(std::move(changed)) {}
    bool eventFilter(QObject* o, QEvent* ev) override
    {
        switch (ev->type()) {
        case QEvent::Show:
        case QEvent::Hide:
            if (o->isWidgetType() && o->objectName() == QLatin1String("QSystemTrayIconSys"))
                queue();
            break;
        case QEvent::Expose:
            if (auto* w = qobject_cast<QWindow*>(o); w && w->objectName().startsWith(QLatin1String("QSystemTrayIconSys")))
                queue();
            break;
        default:
            break;
        }
        return false;
    }
private:
    // Once Qt is done with the event (a window shown is exposed after it).
    void queue()
    {
        if (!queued_) {
            queued_ = true;
            QTimer::singleShot(0, this, [this] {
                queued_ = false;
                changed_();
            });
        }
    }
    std::function<void()> changed_;
    bool queued_ = false;
};
} // namespace

bool SysTrayIcon::Available()
{
    if (availableOverride())
        return *availableOverride();
    if (Script::Active())
        return true;
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void SysTrayIcon::setAvailable(std::optional<bool> available) { availableOverride() = available; }

SysTrayIcon::SysTrayIcon() : menuUpWatch_(std::make_unique<MenuUpWatch>()) {}

bool SysTrayIcon::Docked()
{
    if (Script::Active() || availableOverride())
        return Available();
    if (!icon_)
        return false;
    if (QWidget* w = xembedIcon())
        return w->windowHandle() && w->windowHandle()->isExposed();
    return dbusTray_ && QSystemTrayIcon::isSystemTrayAvailable();
}

SysTrayIcon::~SysTrayIcon()
{
    if (notice_)
        notice_->Close();
    if (icon_) {
        icon_->disconnect();
        // The exit may be chosen from the icon's own menu: its window is then still taking the
        // click that led here, and goes only once that is done (hiding it would delete it now).
        icon_.release()->deleteLater();
    }
}

bool SysTrayIcon::fire(const std::function<void()>& handler)
{
    const std::weak_ptr<int> alive = alive_;
    handling_.push_back(++gestures_);
    Dispatch(handler);
    if (alive.expired())
        return false;   // choosing "Esci" in the menu ends the icon too
    handling_.pop_back();
    return true;
}

// Qt's own window of the icon, while the icon is in an XEmbed notification area or on its way in.
QWidget* SysTrayIcon::xembedIcon()
{
    if (!icon_)
        return nullptr;
    if (iconWindow_ && iconWindow_->isVisible())
        return iconWindow_;
    iconWindow_ = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() != QLatin1String("QSystemTrayIconSys") || !w->isVisible())
            continue;
        if (!iconWatch_)
            iconWatch_ = std::make_unique<IconMouseWatch>(iconPressed_, [this] { UserRightClick(); });
        w->installEventFilter(iconWatch_.get());
        iconWindow_ = w;
        break;
    }
    return iconWindow_;
}

void SysTrayIcon::placeChanged()
{
    const bool docked = Docked();
    if (docked == docked_)
        return;
    docked_ = docked;
    if (docked) {
        goneTimer_->stop();
        if (pendingBalloon_) {
            balloonTimer_->stop();
            std::exchange(pendingBalloon_, nullptr)();
        }
    } else {
        goneTimer_->start();
    }
}

void SysTrayIcon::AddIcon(const QString& toolTip, long /*hwnd*/, const QString& iconPath)
{
    toolTip_ = toolTip;
    shown_ = true;
    // Nothing to show it on without a display.
    const QString platform = QGuiApplication::platformName();
    if (Script::Active() || platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return;
    QIcon picture(iconPath);
    if (iconPath.isEmpty() || picture.availableSizes().isEmpty())
        picture = QApplication::style()->standardIcon(QStyle::SP_FileDialogInfoView);
    icon_ = std::make_unique<QSystemTrayIcon>(picture);
    icon_->setToolTip(toolTip);
    QObject::connect(icon_.get(), &QSystemTrayIcon::activated, icon_.get(), [this](QSystemTrayIcon::ActivationReason r) {
        iconPressed_ = false;
        if (r == QSystemTrayIcon::Context)
            UserRightClick();
        else if (r == QSystemTrayIcon::DoubleClick)
            UserDoubleClick();
    });
    QObject::connect(icon_.get(), &QSystemTrayIcon::messageClicked, icon_.get(), [this] {
        if (iconPressed_) {
            balloonShown_ = false;   // the click on the icon took the balloon away
            return;
        }
        UserClickBalloon();
    });
    goneTimer_ = std::make_unique<QTimer>();
    goneTimer_->setSingleShot(true);
    goneTimer_->setInterval(kAreaGoneMs);
    QObject::connect(goneTimer_.get(), &QTimer::timeout, goneTimer_.get(), [this] {
        if (!Docked() && AreaGone)
            Dispatch(AreaGone);
    });
    balloonTimer_ = std::make_unique<QTimer>();
    balloonTimer_->setSingleShot(true);
    balloonTimer_->setInterval(kBalloonWaitMs);
    QObject::connect(balloonTimer_.get(), &QTimer::timeout, balloonTimer_.get(), [this] {
        // Where nothing can show it yet, it goes on waiting for the icon.
        if (pendingBalloon_ && pendingBalloon_())
            pendingBalloon_ = nullptr;
    });
    // Watched before it shows: the window Qt makes for it comes now when a notification area
    // is there, else when one appears.
    areaWatch_ = std::make_unique<AreaWatch>([this] { placeChanged(); });
    qApp->installEventFilter(areaWatch_.get());
    icon_->show();
    dbusTray_ = !xembedIcon() && QSystemTrayIcon::isSystemTrayAvailable();
    docked_ = true;   // until known otherwise: out of an area, the time starts now
    placeChanged();
}

bool SysTrayIcon::notify(const QString& title, const QString& lines, int kind)
{
    if (!noticeServer_)
        noticeServer_ = DesktopNotification::ServerPresent();
    if (!*noticeServer_)
        return false;
    if (!notice_) {
        notice_ = std::make_unique<DesktopNotification>();
        notice_->Clicked = [this] { UserClickBalloon(); };
    }
    const QString iconName = kind == 2 ? QStringLiteral("dialog-warning")
                             : kind == 3 ? QStringLiteral("dialog-error")
                                         : QStringLiteral("dialog-information");
    notice_->Show(App::Title(), title, lines, iconName, kBalloonTimeoutMs);
    return true;
}

void SysTrayIcon::dropPendingBalloon()
{
    pendingBalloon_ = nullptr;
    if (balloonTimer_)
        balloonTimer_->stop();
}

void SysTrayIcon::ShowBalloon(const QString& text, const QString& title, int kind)
{
    balloonShown_ = true;
    dropPendingBalloon();
    if (Script::Active()) {
        Script::Record({QStringLiteral("balloon"), text, kind, title});
        return;
    }
    if (!icon_)
        return;
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    const auto qtKind = kind == 2 ? QSystemTrayIcon::Warning : kind == 3 ? QSystemTrayIcon::Critical
                                                                          : QSystemTrayIcon::Information;
    // Over D-Bus Qt would send a desktop notification it can't take back: the program sends its own.
    if (dbusTray_) {
        if (!notify(title, lines, kind))
            icon_->showMessage(title, lines, qtKind, kBalloonTimeoutMs);
        return;
    }
    // Qt's balloon at the icon's window. Until a notification area has taken the icon in (at
    // start, or when the area comes late) the icon stands nowhere and the balloon would point at
    // the screen's corner: it waits for the icon, for a while, then shows where it can (at the
    // icon's window, or as a desktop notification); where nothing can show it, it waits on.
    pendingBalloon_ = [this, title, lines, kind, qtKind] {
        if (!xembedIcon())
            return notify(title, lines, kind);
        icon_->showMessage(title, lines, qtKind, kBalloonTimeoutMs);
        return true;
    };
    if (Docked())
        std::exchange(pendingBalloon_, nullptr)();
    else
        balloonTimer_->start();
}

void SysTrayIcon::HideBalloon()
{
    balloonShown_ = false;
    dropPendingBalloon();
    if (notice_)
        notice_->Close();
    // Qt takes its balloon away when asked for one with neither title nor text, and shows none.
    if (xembedIcon())
        icon_->showMessage(QString(), QString(), QSystemTrayIcon::NoIcon, 0);
}

void SysTrayIcon::UserRightClick()
{
    auto* watch = static_cast<MenuUpWatch*>(menuUpWatch_.get());
    if (watch->active)
        return;   // the menu of the last right click is on its way (pending events run before it shows)
    // Where the icon is; where the click was when the desktop does not tell.
    watch->icon = icon_ ? icon_->geometry() : QRect();
    if (watch->icon.isEmpty())
        watch->icon = QRect(QCursor::pos() - QPoint(12, 12), QSize(25, 25));
    watch->active = true;
    qApp->installEventFilter(watch);
    if (fire(RightButtonClick)) {
        qApp->removeEventFilter(watch);
        watch->active = false;
    }
}

void SysTrayIcon::UserDoubleClick() { fire(LeftButtonDblClick); }

void SysTrayIcon::UserClickBalloon()
{
    balloonShown_ = false;
    fire(BalloonClick);
}

} // namespace platform
