#include "platform/SysTrayIcon.h"
#include "platform/Forms.h"
#include "platform/ScriptedMode.h"
#include <QApplication>
#include <QIcon>
#include <QStyle>
#include <QSystemTrayIcon>

namespace platform {

namespace {
std::optional<bool>& availableOverride()
{
    static std::optional<bool> v;
    return v;
}
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

SysTrayIcon::SysTrayIcon() = default;

SysTrayIcon::~SysTrayIcon()
{
    if (icon_) {
        icon_->disconnect();
        icon_->hide();
    }
}

void SysTrayIcon::fire(const std::function<void()>& handler) { Dispatch(handler); }

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
        if (r == QSystemTrayIcon::Context)
            UserRightClick();
        else if (r == QSystemTrayIcon::DoubleClick)
            UserDoubleClick();
    });
    QObject::connect(icon_.get(), &QSystemTrayIcon::messageClicked, icon_.get(), [this] { UserClickBalloon(); });
    icon_->show();
}

void SysTrayIcon::ShowBalloon(const QString& text, const QString& title, int kind)
{
    balloonShown_ = true;
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
    icon_->showMessage(title, lines, qtKind, 15000);
}

// Qt can't take a shown notification back; the desktop lets it expire.
void SysTrayIcon::HideBalloon() { balloonShown_ = false; }

void SysTrayIcon::UserRightClick() { fire(RightButtonClick); }

void SysTrayIcon::UserDoubleClick() { fire(LeftButtonDblClick); }

void SysTrayIcon::UserClickBalloon()
{
    balloonShown_ = false;
    fire(BalloonClick);
}

} // namespace platform
