#pragma once
// Menus and their items, shown as pop-up menus.
#include "platform/Control.h"
#include <vector>

class QMenu;
class QAction;

namespace platform {

class MenuItem : public Control {
public:
    MenuItem(Form& f, const QString& name, const QString& caption, MenuItem* parentMenu = nullptr);
    ~MenuItem() override;
    QWidget* Widget() const override { return nullptr; }
    QString Caption() const override { return caption_; }
    void setCaption(const QString& c);
    bool Enabled() const override { return enabled_; }
    void setEnabled(bool v) override;
    bool Visible() const override { return visible_; }
    void setVisible(bool v) override;
    std::function<void()> Click;
    void PerformClick();                  // nothing when disabled
    const std::vector<MenuItem*>& Items() const { return items_; }
    QMenu* menu() const;
    bool IsSeparator() const { return caption_ == "-"; }
private:
    friend class Form;
    QString caption_;
    bool enabled_ = true;
    bool visible_ = true;
    MenuItem* parentMenu_;
    std::vector<MenuItem*> items_;
    QAction* action_ = nullptr;
    mutable QMenu* menu_ = nullptr;
};

} // namespace platform
