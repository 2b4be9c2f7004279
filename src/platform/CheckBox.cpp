#include "platform/CheckBox.h"
#include <QCheckBox>
#include <QRadioButton>

namespace platform {

namespace {

// A check box that cycles as the skin's does: unchecked <-> checked; grayed goes to unchecked.
class CycleCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;
protected:
    void nextCheckState() override
    {
        setCheckState(checkState() == Qt::Unchecked ? Qt::Checked : Qt::Unchecked);
    }
};

} // namespace

// ---------------------------------------------------------------- CheckBox

CheckBox::CheckBox(Form& f, const QString& name, const QString& caption, int index)
    : Control(f, name, index), c_(new CycleCheckBox(caption))
{
    setWidget(c_);
    QObject::connect(c_, &QCheckBox::clicked, c_, [this] { Dispatch(Click); });
}
QString CheckBox::Caption() const { return c_->text(); }
void CheckBox::setCaption(const QString& c) { c_->setText(c); }

int CheckBox::Value() const
{
    switch (c_->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
    }
}

void CheckBox::setValue(int v)
{
    if (v < 0 || v > 2)
        Err::Raise(380, QStringLiteral("Invalid property value"));
    const int before = Value();
    c_->setCheckState(v == 1 ? Qt::Checked : v == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
    if (before != v)
        Dispatch(Click);   // a change of value by code raises Click, as the user's click does
}

void CheckBox::PerformClick()
{
    if (!c_->isEnabled() || c_->isHidden())
        return;
    c_->click();
}

std::optional<QString> CheckBox::ValueText() const { return QString::number(Value()); }
void CheckBox::setValueText(const QString& value) { setValue(value.toInt()); }
QString CheckBox::ClearedValueText() const { return QStringLiteral("2"); }
std::optional<QString> CheckBox::FilterText() const
{
    const int v = Value();
    return v == 2 ? std::nullopt : std::optional<QString>(QString::number(v));
}

CardItem CheckBox::Card() const { return {CardItem::Kind::Check, Caption(), Value()}; }

// ---------------------------------------------------------------- OptionButton

OptionButton::OptionButton(Form& f, const QString& name, const QString& caption, int index)
    : Control(f, name, index), r_(new QRadioButton(caption))
{
    setWidget(r_);
    QObject::connect(r_, &QRadioButton::clicked, r_, [this] { Dispatch(Click); });
}
QString OptionButton::Caption() const { return r_->text(); }
void OptionButton::setCaption(const QString& c) { r_->setText(c); }
bool OptionButton::Value() const { return r_->isChecked(); }

void OptionButton::setValue(bool v)
{
    if (v) {
        r_->setChecked(true);
        return;
    }
    // Unchecking one button of an exclusive group needs the group off for a moment.
    const bool excl = r_->autoExclusive();
    r_->setAutoExclusive(false);
    r_->setChecked(false);
    r_->setAutoExclusive(excl);
}

void OptionButton::PerformClick()
{
    if (!r_->isEnabled() || r_->isHidden())
        return;
    r_->click();
}

} // namespace platform
