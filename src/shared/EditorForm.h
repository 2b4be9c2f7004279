#pragma once
// The editor dialogs: add or change one record. Ok runs the editor's checks in order (the first
// failing one shows its message and the dialog stays open), writes the INSERT or UPDATE, refreshes
// the list and closes. A statement the database refuses is reported and the dialog stays open
// with everything typed, so nothing is lost; it closes only after a save that worked.
// Each editor gives its controls, its checks, its two statements and its list.
#include "platform/FormLayout.h"
#include "platform/Forms.h"
#include "platform/WebBrowser.h"
#include "shared/ListForm.h"
#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

namespace verbanto {

class EditorForm : public platform::Form {
public:
    platform::SkinForm* OsenXPForm1 = nullptr;
    platform::Button* cmdOK = nullptr;
    platform::Button* cmdCancel = nullptr;
    platform::Button* cmdPrint = nullptr;
    platform::WebBrowser* web = nullptr;

    void CreateControls() final;
    // Loads the editor's own values (LoadForm); an editor whose opening failed halfway closes.
    void Form_Load() final;
    virtual void cmdOK_Click();
    virtual void cmdCancel_Click();
    virtual void cmdPrint_Click();

    // SQL text of the values, as every editor writes them.
    static QString TextValue(const QString& text);      // the trimmed text as a literal, or Null when blank
    static QString DateValue(const QDate& date);        // "'YYYY-MM-DD 00:00:00'", or Null when no date
    // A date field's value for the column: its date; or, while the field still shows the value
    // stored in the record, that value, left exactly as it is (the column itself).
    static QString DateValue(const platform::DatePicker& picker, const QString& column);
    static QString Timestamp();                         // "'" + the date and time of now + "'"
    // "head" ends with "VALUES ("; the values are joined by ",  " and closed by ") ".
    static QString InsertSql(const QString& head, const QStringList& values);
    // "UPDATE table SET col = value,  ...,  DateTimeLastUpdated = now WHERE idColumn = id ".
    static QString UpdateSql(const QString& table, const std::vector<std::pair<QString, QString>>& parts,
                             const QString& idColumn, double id);

    // Whether a date field holds a date: what was typed reads as one (impossible dates do not),
    // or the field still shows the value stored in the record.
    static bool IsDate(const platform::DatePicker& picker);

protected:
    explicit EditorForm(const QString& name);

    virtual void CreateFormControls() = 0;
    // The editor's own load: the record it shows, its combos.
    virtual void LoadForm() {}
    struct Check {
        QString message;
        std::function<bool()> fails;
    };
    virtual std::vector<Check> Checks() = 0;
    virtual QString InsertStatement() = 0;
    virtual QString UpdateStatement() = 0;
    virtual ListForm* List() = 0;       // the list to refresh, null when it is not open
    virtual void AfterSave() {}          // after the list refresh, before the dialog closes
    bool refillListAfterSave_ = false;   // clear and refill the list after the row refresh

    // Adds the Ok / Annulla / print commands and the browser, after the form's own controls;
    // Enter anywhere but on another command or in a box of several lines is Ok.
    void AddCommands(const QString& printCaption);
    // Lays the editor out: its fields top to bottom, then the commands.
    void Arrange(platform::layout::Lines lines, double fieldWidth = 4800);

    // A combo's selection copied into the editor's chosen-id variable (nothing when none).
    static void ComboChange(const platform::ComboBox& combo, long& chosenId);
    // End selects the last item, Home the first.
    static void ComboKeyUp(platform::ComboBox& combo, int keyCode);
};

} // namespace verbanto
