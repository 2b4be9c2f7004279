#pragma once
// A date picker showing "dd/mm/yyyy"; the user may pick the date from its calendar or type it.
#include "platform/Control.h"
#include <QDate>

namespace platform {

class DateField;

class DatePicker : public Control {
public:
    DatePicker(Form& f, const QString& name, int index = -1);
    QDate Value() const;                  // what the user typed counts once it is a date
    void setValue(const QDate& d);        // fires Change
    QString Text() const;                 // "dd/mm/yyyy"
    std::optional<QString> ValueText() const override { return Text(); }
    void setValueText(const QString& value) override;
    std::optional<QString> FilterText() const override { return Text(); }
    CardItem Card() const override { return {CardItem::Kind::Text, Text()}; }
    std::function<void()> Change;
private:
    DateField* d_;
};

} // namespace platform
