#include "cheques/ChequeDialogs.h"
#include "deadlines/frmPagamenti.h"
#include "shared/basGeneralCustom.h"
#include "shared/SqlLiteral.h"
#include "shared/TracedProcedure.h"
#include "shared/WindowControls.h"

namespace verbanto {

using namespace platform;

DatePicker* AddDatePicker(Form& form, const QString& name, Button** today)
{
    DatePicker* picker = form.Add<DatePicker>(name);
    Button* button = form.Add<Button>(QStringLiteral("cmdOggi"), QStringLiteral("Oggi"));
    button->Click = [&form, picker] {
        FormProc(form, "cmdOggi_Click", [&] { picker->setValue(QDate::currentDate()); });
    };
    // "Oggi" mends a wrong date: it is not told first that the date is wrong.
    button->setCausesValidation(false);
    if (today)
        *today = button;
    return picker;
}

namespace {
// The id the deadline list holds (0 when the list was never made).
double DeadlineInHand()
{
    return Forms::Exists<frmPagamenti>() ? Forms::Instance<frmPagamenti>().mPagamentiID : 0;
}
} // namespace

QString ReceivedChequeDialog::DeadlineValue() { return SqlNumber(DeadlineInHand()); }

EditorForm::Check ReceivedChequeDialog::DeadlineCheck()
{
    return {QStringLiteral("Nessuna scadenza selezionata"), [] {
                // A check that cannot run stops the save, reported once, rather than saying there is none.
                return !RecordExists(QStringLiteral("Pagamenti"), QStringLiteral("PagamentiID"), SqlNumber(DeadlineInHand()),
                                     QStringLiteral("N"));
            }};
}

EditorForm::Check ReceivedChequeDialog::DateCheck(const QString& message, const DatePicker& picker)
{
    return {message, [&picker] {
                return !picker.Text().trimmed().isEmpty() && !IsDate(picker);
            }};
}

QString ReceivedChequeDialog::OptionalDateValue(const DatePicker& picker)
{
    return DateValue(picker.Value());
}

EditorForm::Check ReceivedChequeDialog::ChoiceCheck(const QString& message, const ComboBox& combo)
{
    return {message, [&combo] { return combo.ListIndex() == -1; }};
}

QString ReceivedChequeDialog::ChosenId(const ComboBox& combo) { return SqlNumber(combo.ItemData(combo.ListIndex())); }

} // namespace verbanto
