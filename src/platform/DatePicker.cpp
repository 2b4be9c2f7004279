#include "platform/DatePicker.h"
#include "platform/Italian.h"
#include <QDateEdit>

namespace platform {

DatePicker::DatePicker(Form& f, const QString& name, int index)
    : Control(f, name, index), d_(new QDateEdit())
{
    d_->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    d_->setCalendarPopup(true);
    d_->setMinimumDate(QDate(1753, 1, 1));
    d_->setMaximumDate(QDate(9999, 12, 31));
    d_->setDate(QDate::currentDate());
    setWidget(d_);
    QObject::connect(d_, &QDateEdit::dateChanged, d_, [this](const QDate&) { Dispatch(Change); });
}
QDate DatePicker::Value() const { return d_->date(); }
void DatePicker::setValue(const QDate& d)
{
    if (!d.isValid())
        Err::Raise(380, QStringLiteral("Invalid property value"));
    d_->setDate(d);
}
QString DatePicker::Text() const { return d_->date().toString(QStringLiteral("dd/MM/yyyy")); }

void DatePicker::setValueText(const QString& value)
{
    // A picker always holds a date: an empty or unreadable value leaves it as it is.
    if (const auto d = ParseDate(value))
        setValue(*d);
}

} // namespace platform
