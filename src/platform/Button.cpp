#include "platform/Button.h"
#include "platform/Form.h"
#include "platform/FormWindow.h"
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>

namespace platform {

// ---------------------------------------------------------------- Button

namespace {
// The style keeps its button margin between the caption and the frame, but reckons it once for
// both sides: a caption longer than the least width of a button then all but touches the frame.
// A command asks for the margin on either side.
class CommandButton : public QPushButton {
public:
    using QPushButton::QPushButton;
    QSize sizeHint() const override { return withMargins(QPushButton::sizeHint()); }
    QSize minimumSizeHint() const override { return withMargins(QPushButton::minimumSizeHint()); }

private:
    QSize withMargins(QSize size) const
    {
        QStyleOptionButton option;
        initStyleOption(&option);
        const QStyle* s = style();
        int side = s->pixelMetric(QStyle::PM_ButtonMargin, &option, this) +
                   s->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
        if (option.features & QStyleOptionButton::AutoDefaultButton)
            side += s->pixelMetric(QStyle::PM_ButtonDefaultIndicator, &option, this);
        const int caption = fontMetrics().size(Qt::TextShowMnemonic, text()).width();
        size.setWidth(std::max(size.width(), caption + 2 * side));
        return size;
    }
};
} // namespace

Button::Button(Form& f, const QString& name, const QString& caption, int index)
    : Control(f, name, index), b_(new CommandButton(caption))
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
