#pragma once
// A date field: the user types the date the Italian way or picks it from the field's calendar.
// It holds its text as typed, wrong or empty, until its window reads it; a stored value that the
// user leaves alone is handed back as it was stored.
#include "platform/Control.h"
#include <QDate>

namespace platform {

class DateField;

class DatePicker : public Control {
public:
    DatePicker(Form& f, const QString& name, int index = -1);
    QString Text() const;                 // as shown: typed, set or stored
    // The date the text reads as (see ParseTypedDate), years 100 to 9999; invalid when none.
    QDate Value() const;
    void setValue(const QDate& d);        // shows "dd/mm/yyyy"; fires Change
    // Shows a stored value: as "dd/mm/yyyy" when it reads as a date, else as it is (Null: empty).
    void setStoredText(const QString& stored);
    // The stored value, while the field still shows it as it was loaded.
    std::optional<QString> KeptStoredText() const;
    // Whether the field holds a date: its text reads as one, or it still shows a stored value.
    bool HoldsDate() const;
    std::optional<QString> ValueText() const override { return Text(); }
    void setValueText(const QString& value) override;
    std::optional<QString> FilterText() const override { return Text(); }
    CardItem Card() const override { return {CardItem::Kind::Text, Text()}; }
    std::function<void()> Change;
private:
    DateField* d_;
    std::optional<QString> stored_;
    QString loaded_;
};

} // namespace platform
