#pragma once
// A date picker showing "dd/mm/yyyy".
#include "platform/Control.h"
#include <QDate>

class QDateEdit;

namespace platform {

class DatePicker : public Control {
public:
    DatePicker(Form& f, const QString& name, int index = -1);
    QDate Value() const;
    void setValue(const QDate& d);        // fires Change
    QString Text() const;                 // "dd/mm/yyyy"
    std::optional<QString> ValueText() const override { return Text(); }
    void setValueText(const QString& value) override;
    std::optional<QString> FilterText() const override { return Text(); }
    CardItem Card() const override { return {CardItem::Kind::Text, Text()}; }
    std::function<void()> Change;
private:
    QDateEdit* d_;
};

} // namespace platform
