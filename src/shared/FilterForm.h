#pragma once
// The filter dialogs: the user sets criteria, Ok turns them into a condition for the list's
// where-clause string and refills the list; the dialog remembers what was set for the next
// opening in the run; "Reimposta" empties the criteria. Each filter gives its controls, its
// combo queries, its checks and its criteria in order.
#include "platform/FormLayout.h"
#include "platform/Forms.h"
#include "platform/WebBrowser.h"
#include "shared/FilterMemory.h"
#include "shared/ListForm.h"
#include <QString>
#include <vector>

namespace verbanto {

class FilterForm : public platform::Form {
public:
    // Controls the machinery drives; the form creates them (those it lacks stay null).
    platform::SkinForm* OsenXPForm1 = nullptr;
    platform::OptionButton* optAND = nullptr;
    platform::OptionButton* optOR = nullptr;
    platform::Button* cmdOK = nullptr;
    platform::Button* cmdCancel = nullptr;
    platform::Button* cmdClear = nullptr;
    platform::Button* cmdPrint = nullptr;
    platform::WebBrowser* web = nullptr;

    void CreateControls() final;
    void Form_Load() override;
    virtual void cmdOK_Click();
    virtual void cmdCancel_Click();
    virtual void cmdClear_Click();
    virtual void cmdPrint_Click();

    // A criterion, in the order the condition names them.
    enum class Kind {
        Combo,        // column + the selected item's id          ("a.ANAGRAFICAID = ")
        Text,         // column IN (list) with a comma, else column Like '%text%'   ("a.Causale")
        DateFrom,     // column >= ('date')                       ("a.Datapagamento")
        DateTo,       // column <= ('date')
        Check,        // column + True/False + " " unless grayed  ("a.SuPiazza = ")
        AmountFrom,   // column >= amount                         ("a.Importo")
        AmountTo,     // column <= amount
    };
    struct Criterion {
        Kind kind;
        platform::Control* control;
        QString column;
    };
    // A field that must parse: a date or an amount, when not empty.
    struct Check {
        platform::TextBox* box;
        bool amount;
        QString message;
    };

    // The condition that the criteria give now, joined by the separator.
    QString Condition(const QString& separator);

protected:
    FilterForm(const QString& name, FilterMemory memory);

    virtual void CreateFormControls() = 0;
    virtual void FillCombos() {}
    virtual std::vector<Check> Checks() { return {}; }
    virtual std::vector<Criterion> Criteria() = 0;
    virtual ListForm* List() = 0;                 // the list to refill, null when it is not open

    // Adds the AND/OR pair (AND selected) and the commands, after the form's own controls.
    void AddAndOr();
    void AddCommands(bool withPrint);
    // Lays the filter out: its criteria top to bottom, the AND/OR pair, then the commands.
    void Arrange(platform::layout::Lines lines, double fieldWidth = 4800);

private:
    void remember();
    void restore();
    // The remembered value of the control at a position (from 1), null past the end.
    QString* remembered(size_t position);
    FilterMemory memory_;
};

} // namespace verbanto
