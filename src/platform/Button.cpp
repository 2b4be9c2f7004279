#include "platform/Button.h"
#include "platform/Form.h"
#include "platform/FormWindow.h"
#include <QLabel>
#include <QPushButton>

namespace platform {

// ---------------------------------------------------------------- Button

Button::Button(Form& f, const QString& name, const QString& caption, int index)
    : Control(f, name, index), b_(new QPushButton(caption))
{
    b_->setAutoDefault(false);
    setWidget(b_);
    QObject::connect(b_, &QPushButton::clicked, b_, [this] { Dispatch(Click); });
}

QString Button::Caption() const { return b_->text(); }
void Button::setCaption(const QString& c) { b_->setText(c); }
void Button::setDefault(bool v) { b_->setDefault(v); }

void Button::setCancel(bool v)
{
    if (auto* w = dynamic_cast<FormWindow*>(Parent.Window()))
        w->cancelButton = v ? this : (w->cancelButton == this ? nullptr : w->cancelButton);
}

void Button::PerformClick()
{
    if (!b_->isEnabled() || b_->isHidden())
        return;
    b_->click();
}

// ---------------------------------------------------------------- Label

Label::Label(Form& f, const QString& name, const QString& caption, int index)
    : Control(f, name, index), l_(new QLabel(caption))
{
    l_->setTextFormat(Qt::PlainText);
    setWidget(l_);
    tabStop_ = false;
}
QString Label::Caption() const { return l_->text(); }
void Label::setCaption(const QString& c) { l_->setText(c); }
void Label::ApplyCommonSetUp(const QString& /*iconPath*/) { setTabStop(false); }

} // namespace platform
