#pragma once
// What the cheque windows share beyond the list, editor and filter machinery: a date picker
// with its "Oggi" button, and the deadline that the endorsement and deposit dialogs record
// against.
#include "platform/Forms.h"
#include "shared/EditorForm.h"
#include <QString>

namespace verbanto {

// A date picker with its "Oggi" button (named cmdOggi), which puts today's date into it.
platform::DatePicker* AddDatePicker(platform::Form& form, const QString& name, platform::Button** today);

// The endorsement and deposit dialogs: they only add one row recorded against the deadline in
// hand (the deadline list's mPagamentiID) and refresh no list.
class ReceivedChequeDialog : public EditorForm {
protected:
    using EditorForm::EditorForm;
    ListForm* List() override { return nullptr; }
    QString UpdateStatement() override { return InsertStatement(); }   // nothing to change: always a new row

    // The deadline's id as the row's PagamentiID.
    static QString DeadlineValue();
    // Refuses a row for a deadline that does not exist (none in hand, or deleted meanwhile).
    static Check DeadlineCheck();
    // Refuses a date that is given but is no date.
    static Check DateCheck(const QString& message, const platform::DatePicker& picker);
    // The date of a picker, or Null when it holds none.
    static QString OptionalDateValue(const platform::DatePicker& picker);
    // "Selezionare ..." while the combo has nothing chosen.
    static Check ChoiceCheck(const QString& message, const platform::ComboBox& combo);
    // The id of the combo's chosen entry.
    static QString ChosenId(const platform::ComboBox& combo);
};

} // namespace verbanto
