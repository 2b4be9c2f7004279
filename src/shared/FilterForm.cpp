#include "shared/FilterForm.h"
#include "platform/Italian.h"
#include "platform/MsgBoxDialog.h"
#include "shared/basGeneral.h"
#include "shared/basGeneralCustom.h"
#include "shared/basPrintPreview.h"
#include "shared/basRegistering.h"
#include "shared/ModalWindows.h"
#include "shared/SqlLiteral.h"
#include "shared/TracedProcedure.h"
#include "shared/WindowControls.h"

namespace verbanto {

using namespace platform;

FilterForm::FilterForm(const QString& name, FilterMemory memory) : Form(name), memory_(memory) {}

void FilterForm::CreateControls()
{
    CreateFormControls();
    OnClick(cmdOK, [this] { cmdOK_Click(); });
    OnClick(cmdCancel, [this] { cmdCancel_Click(); });
    OnClick(cmdClear, [this] { cmdClear_Click(); });
    OnClick(cmdPrint, [this] { cmdPrint_Click(); });
}

void FilterForm::AddAndOr()
{
    optOR = Add<OptionButton>(QStringLiteral("optOR"), QStringLiteral("OR"));
    optAND = Add<OptionButton>(QStringLiteral("optAND"), QStringLiteral("AND"));
    optAND->setValue(true);
}

void FilterForm::AddCommands(bool withPrint)
{
    cmdOK = Add<Button>(QStringLiteral("cmdOK"), QStringLiteral("Ok"));
    cmdOK->setDefault(true);
    cmdCancel = Add<Button>(QStringLiteral("cmdCancel"), QStringLiteral("Annulla"));
    cmdCancel->setCancel(true);
    cmdPrint = withPrint ? Add<Button>(QStringLiteral("cmdPrint"), QStringLiteral("Stampa")) : nullptr;
    cmdClear = Add<Button>(QStringLiteral("cmdClear"), QStringLiteral("Reimposta"));
    web = Add<WebBrowser>(QStringLiteral("web"));
}

void FilterForm::Arrange(layout::Lines lines, double fieldWidth)
{
    if (optAND)
        lines.push_back(layout::Row({optAND, optOR}));
    std::vector<Control*> commands{cmdOK, cmdCancel};
    if (cmdPrint)
        commands.push_back(cmdPrint);
    commands.push_back(cmdClear);
    layout::LayOut(*this, {std::move(lines), commands, fieldWidth});
}

void FilterForm::Form_Load()
{
    // What the commands use is sized before the first query can fail: a filter whose combos
    // could not be filled still clears, remembers and closes.
    const bool first = !*memory_.saved;
    const size_t slotCount = Controls().size() + 1;
    if (first)
        memory_.values->assign(slotCount, QString());
    else if (memory_.values->size() < slotCount)
        memory_.values->resize(slotCount);
    *memory_.saved = true;
    FormProc(*this, "Form_Load", [&] {
        DisattivaTabstop(Controls());
        CenterForm(*this);
        OpenDb();
        FillCombos();
        if (first)
            for (Control* c : Controls())
                if (auto* combo = dynamic_cast<ComboBox*>(c))
                    combo->setListIndex(-1);
        restore();
        if (memory_.orFlag && *memory_.orFlag && optOR) {
            optOR->setValue(true);
            optAND->setValue(false);
        }
    });
}

QString* FilterForm::remembered(size_t position)
{
    return position < memory_.values->size() ? &(*memory_.values)[position] : nullptr;
}

void FilterForm::restore()
{
    size_t i = 1;
    for (Control* c : Controls())
        if (const QString* value = remembered(i++); value && !value->isEmpty())
            c->setValueText(*value);
}

void FilterForm::remember()
{
    size_t i = 1;
    for (Control* c : Controls()) {
        QString* slot = remembered(i++);
        if (const auto value = c->ValueText(); value && slot)
            *slot = *value;
    }
}

QString FilterForm::Condition(const QString& separator)
{
    QString condition;
    auto append = [&](const QString& clause) {
        if (!condition.isEmpty())
            condition += separator;
        condition += clause;
    };
    for (const Criterion& k : Criteria()) {
        const std::optional<QString> choice = k.control->FilterText();
        if (!choice)
            continue;
        switch (k.kind) {
        case Kind::Combo: append(k.column + SqlNumber(choice->toLong())); break;
        case Kind::Check: append(k.column + wrapbooleanchk(Variant(choice->toInt())) + QStringLiteral(" ")); break;
        default: {
            const QString& typed = *choice;
            const QString t = typed.trimmed();
            if (t.isEmpty())
                break;
            switch (k.kind) {
            case Kind::Text:
                if (typed.contains(u',')) {
                    QString list = Pad(t);
                    append(k.column + QStringLiteral(" IN (") + PutTicksIn(list) + QStringLiteral(")"));
                } else {
                    append(k.column + QStringLiteral(" Like '%") + Pad(t) + QStringLiteral("%'"));
                }
                break;
            case Kind::DateFrom:
            case Kind::DateTo:
                append(k.column + (k.kind == Kind::DateFrom ? QStringLiteral(" >= ('") : QStringLiteral(" <= ('")) +
                       FormattaData(Variant(Pad(t))) + QStringLiteral("')"));
                break;
            case Kind::AmountFrom:
            case Kind::AmountTo:
                // Written as a plain number, so that "12,50" typed the Italian way is 12.5.
                append(k.column + (k.kind == Kind::AmountFrom ? QStringLiteral(" >= ") : QStringLiteral(" <= ")) +
                       SqlNumber(ParseNumber(t).value_or(0)) + QStringLiteral(" "));
                break;
            default: break;
            }
        }
        }
    }
    return condition;
}

void FilterForm::cmdOK_Click()
{
    FormProc(*this, "cmdOK_Click", [&] {
        OpenDb();
        QString separator = QStringLiteral(" AND ");
        if (optAND && !optAND->Value()) {
            optOR->setValue(true);
            separator = QStringLiteral(" OR ");
        }
        for (const Check& check : Checks()) {
            const QString t = check.box->Text().trimmed();
            const bool parses = check.amount ? ParseNumber(t).has_value() : ParseDate(t).has_value();
            if (!t.isEmpty() && !parses) {
                MyMsgBox(check.message, vbExclamation, QStringLiteral("Gestione Verbanto"));
                return;
            }
        }
        *memory_.where = Condition(separator);
        if (ListForm* list = List())
            list->FillGrid();
        if (memory_.orFlag)
            *memory_.orFlag = optOR && optOR->Value();
        remember();
        UnloadAndRelease(*this);
    });
}

void FilterForm::cmdCancel_Click()
{
    FormProc(*this, "cmdCancel_Click", [&] { UnloadAndRelease(*this); });
}

void FilterForm::cmdClear_Click()
{
    FormProc(*this, "cmdClear_Click", [&] {
        size_t i = 1;
        for (Control* c : Controls()) {
            QString* slot = remembered(i++);
            if (c->ValueText()) {
                const QString value = c->ClearedValueText();
                c->setValueText(value);
                if (slot)
                    *slot = value;
            }
        }
    });
}

void FilterForm::cmdPrint_Click()
{
    FormProc(*this, "cmdPrint_Click", [&] { printThisForm(*this, *web); });
}

} // namespace verbanto
