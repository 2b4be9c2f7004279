#include "platform/MenuItem.h"
#include <QAction>
#include <QMenu>
#include <algorithm>

namespace platform {

MenuItem::MenuItem(Form& f, const QString& name, const QString& caption, MenuItem* parentMenu)
    : Control(f, name), caption_(caption), parentMenu_(parentMenu)
{
    tabStop_ = false;
    if (parentMenu_) {
        parentMenu_->items_.push_back(this);
        QMenu* m = parentMenu_->menu();
        if (IsSeparator())
            action_ = m->addSeparator();
        else {
            action_ = m->addAction(caption_);
            QObject::connect(action_, &QAction::triggered, action_, [this] { Dispatch(Click); });
        }
    }
}

MenuItem::~MenuItem()
{
    // The items' actions live in this menu and go with it; whichever of a menu and its items
    // goes first, the other must not touch it afterwards.
    for (MenuItem* item : items_) {
        item->action_ = nullptr;
        item->parentMenu_ = nullptr;
    }
    if (parentMenu_)
        parentMenu_->items_.erase(std::remove(parentMenu_->items_.begin(), parentMenu_->items_.end(), this),
                                  parentMenu_->items_.end());
    if (action_)
        action_->disconnect();
    if (menu_)
        menu_->deleteLater();   // the menu may be the one running this very handler
}

QMenu* MenuItem::menu() const
{
    if (!menu_)
        menu_ = new QMenu(caption_);
    return menu_;
}

void MenuItem::setCaption(const QString& c)
{
    caption_ = c;
    if (action_)
        action_->setText(c);
    if (menu_)
        menu_->setTitle(c);
}

void MenuItem::setEnabled(bool v)
{
    enabled_ = v;
    if (action_)
        action_->setEnabled(v);
    if (menu_)
        menu_->setEnabled(v);
}

void MenuItem::setVisible(bool v)
{
    visible_ = v;
    if (action_)
        action_->setVisible(v);
}

void MenuItem::PerformClick()
{
    if (!enabled_ || (parentMenu_ && !parentMenu_->enabled_))
        return;
    Dispatch(Click);
}

} // namespace platform
