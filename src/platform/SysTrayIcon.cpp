#include "platform/SysTrayIcon.h"
#include "platform/App.h"
#include "platform/DesktopNotification.h"
#include "platform/Forms.h"
#include "platform/ScriptedMode.h"
#include <QApplication>
#include <QCursor>
#include <QEvent>
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
// Tells when the icon's window shows: the notification area has taken it in.
class IconDockWatch : public QObject {
public:
    explicit IconDockWatch(std::function<void()> docked) : docked_(std::move(docked)) {}
    bool eventFilter(QObject*, QEvent* ev) override
    {
        if (ev->type() == QEvent::Expose)
            QTimer::singleShot(0, this, docked_);   // once Qt has taken the exposure in
        return false;
    }
private:
    std::function<void()> docked_;
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

// Qt's own window of the icon, when the icon sits in an XEmbed notification area.
QWidget* SysTrayIcon::xembedIcon()
{
    if (!icon_)
        return nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() != QLatin1String("QSystemTrayIconSys"))
            continue;
        if (!iconWatch_) {
            iconWatch_ = std::make_unique<IconMouseWatch>(iconPressed_, [this] { UserRightClick(); });
            w->installEventFilter(iconWatch_.get());
        }
        if (!dockWatch_ && w->windowHandle()) {
            dockWatch_ = std::make_unique<IconDockWatch>([this] {
                if (pendingBalloon_ && iconDocked())
                    std::exchange(pendingBalloon_, nullptr)();
            });
            w->windowHandle()->installEventFilter(dockWatch_.get());
        }
        return w;
    }
    return nullptr;
}

void SysTrayIcon::AddIcon(const QString& toolTip, long /*hwnd*/, const QString& iconPath)
{
    toolTip_ = toolTip;
    shown_ = true;
    if (Script::Active() || !QSystemTrayIcon::isSystemTrayAvailable())
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
    icon_->show();
    xembedIcon();
}

void SysTrayIcon::ShowBalloon(const QString& text, const QString& title, int kind)
{
    balloonShown_ = true;
    pendingBalloon_ = nullptr;
    if (Script::Active()) {
        Script::Record({QStringLiteral("balloon"), text, kind, title});
        return;
    }
    if (!icon_)
        return;
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    // Qt's balloon where the icon is Qt's own window; elsewhere Qt would send a desktop
    // notification it can't take back, so the program sends its own.
    if (!xembedIcon()) {
        if (!noticeServer_)
            noticeServer_ = DesktopNotification::ServerPresent();
        if (*noticeServer_) {
            if (!notice_) {
                notice_ = std::make_unique<DesktopNotification>();
                notice_->Clicked = [this] { UserClickBalloon(); };
            }
            const QString iconName = kind == 2 ? QStringLiteral("dialog-warning")
                                     : kind == 3 ? QStringLiteral("dialog-error")
                                                 : QStringLiteral("dialog-information");
            notice_->Show(App::Title(), title, lines, iconName, kBalloonTimeoutMs);
            return;
        }
    }
    const auto qtKind = kind == 2 ? QSystemTrayIcon::Warning : kind == 3 ? QSystemTrayIcon::Critical
                                                                          : QSystemTrayIcon::Information;
    pendingBalloon_ = [this, title, lines, qtKind] { icon_->showMessage(title, lines, qtKind, kBalloonTimeoutMs); };
    // Until the notification area has taken the icon in (at start), the icon stands nowhere and
    // the balloon would point at the screen's corner: it waits for the icon.
    if (iconDocked())
        std::exchange(pendingBalloon_, nullptr)();
}

bool SysTrayIcon::iconDocked()
{
    QWidget* w = xembedIcon();
    return !w || (w->windowHandle() && w->windowHandle()->isExposed());
}

void SysTrayIcon::HideBalloon()
{
    balloonShown_ = false;
    pendingBalloon_ = nullptr;
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
