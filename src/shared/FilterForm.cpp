#include "shared/FilterForm.h"
#include "platform/Italian.h"
#include "platform/MsgBoxDialog.h"
#include "shared/FormKit.h"
#include "shared/Proc.h"
#include "shared/basGeneral.h"
#include "shared/basGeneralCustom.h"
#include "shared/basPrintPreview.h"
#include "shared/basRegistering.h"

namespace verbanto {

using namespace platform;

namespace {
// The remembered value of a control, by its kind; empty for kinds that remember nothing.
QString ValueOf(const Control& c)
{
    switch (c.Kind) {
    case ControlKind::TextBox: return static_cast<const TextBox&>(c).Text();
    case ControlKind::DatePicker: return static_cast<const DatePicker&>(c).Text();
    case ControlKind::CheckBox: return QString::number(static_cast<const CheckBox&>(c).Value());
    case ControlKind::ComboBox: return QString::number(static_cast<const ComboBox&>(c).ListIndex());
    default: return QString();
    }
}

void PutValue(Control& c, const QString& value)
{
    switch (c.Kind) {
    case ControlKind::TextBox: static_cast<TextBox&>(c).setText(value); break;
    case ControlKind::DatePicker: {
        // A picker always holds a date: an empty or unreadable value leaves it as it is.
        if (const auto d = ParseDate(value))
            static_cast<DatePicker&>(c).setValue(*d);
        break;
    }
    case ControlKind::CheckBox: static_cast<CheckBox&>(c).setValue(value.toInt()); break;
    case ControlKind::ComboBox: {
        // Rows deleted since the value was remembered may leave it past the end: nothing then.
        auto& combo = static_cast<ComboBox&>(c);
        const int index = value.toInt();
        combo.setListIndex(index < combo.ListCount() ? index : -1);
        break;
    }
    default: break;
    }
}

// The value that "Reimposta" gives a control.
QString ResetValue(const Control& c)
{
    switch (c.Kind) {
    case ControlKind::CheckBox: return QStringLiteral("2");
    case ControlKind::ComboBox: return QStringLiteral("-1");
    default: return QString();
    }
}

bool RemembersValue(const Control& c)
{
    switch (c.Kind) {
    case ControlKind::TextBox:
    case ControlKind::DatePicker:
    case ControlKind::CheckBox:
    case ControlKind::ComboBox: return true;
    default: return false;
    }
}

QString TextOf(const Control& c)
{
    if (c.Kind == ControlKind::DatePicker)
        return static_cast<const DatePicker&>(c).Text();
    return static_cast<const TextBox&>(c).Text();
}
} // namespace

FilterForm::FilterForm(const QString& name, FilterMemory memory) : Form(name), memory_(memory) {}

void FilterForm::CreateControls()
{
    CreateFormControls();
    OnClick(cmdOK, [this] { cmdOK_Click(); });
    OnClick(cmdCancel, [this] { cmdCancel_Click(); });
    OnClick(cmdClear, [this] { cmdClear_Click(); });
    OnClick(cmdPrint, [this] { cmdPrint_Click(); });
}

void FilterForm::AddAndOr(double left, double top)
{
    optOR = Add<OptionButton>(QStringLiteral("optOR"), QStringLiteral("OR"));
    optOR->Move(left + 900, top, 800, 300);
    optAND = Add<OptionButton>(QStringLiteral("optAND"), QStringLiteral("AND"));
    optAND->Move(left, top, 800, 300);
    optAND->setValue(true);
}

void FilterForm::AddCommands(double left, double top, bool withPrint)
{
    cmdOK = AddButton(*this, QStringLiteral("cmdOK"), QStringLiteral("Ok"), left, top);
    cmdOK->setDefault(true);
    cmdCancel = AddButton(*this, QStringLiteral("cmdCancel"), QStringLiteral("Annulla"), left, top);
    cmdCancel->setCancel(true);
    cmdPrint = withPrint ? AddButton(*this, QStringLiteral("cmdPrint"), QStringLiteral("Stampa"), left, top) : nullptr;
    cmdClear = AddButton(*this, QStringLiteral("cmdClear"), QStringLiteral("Reimposta"), left, top);
    web = Add<WebBrowser>(QStringLiteral("web"));
}

void FilterForm::Form_Load()
{
    FormProc(*this, "Form_Load", [&] {
        DisattivaTabstop(Controls());
        CenterForm(*this);
        OpenDb();
        FillCombos();
        const size_t slotCount = Controls().size() + 1;
        if (!*memory_.saved) {
            for (Control* c : Controls())
                if (c->Kind == ControlKind::ComboBox)
                    static_cast<ComboBox*>(c)->setListIndex(-1);
            memory_.values->assign(slotCount, QString());
            *memory_.saved = true;
        }
        if (memory_.values->size() < slotCount)
            memory_.values->resize(slotCount);
        restore();
        if (memory_.orFlag && *memory_.orFlag && optOR) {
            optOR->setValue(true);
            optAND->setValue(false);
        }
    });
}

void FilterForm::restore()
{
    int i = 1;
    for (Control* c : Controls()) {
        const QString& value = (*memory_.values)[i++];
        if (!value.isEmpty())
            PutValue(*c, value);
    }
}

void FilterForm::remember()
{
    int i = 1;
    for (Control* c : Controls()) {
        if (RemembersValue(*c))
            (*memory_.values)[i] = ValueOf(*c);
        ++i;
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
        switch (k.kind) {
        case Kind::Combo: {
            const auto& combo = static_cast<const ComboBox&>(*k.control);
            if (combo.ListIndex() != -1)
                append(k.column + SqlNumber(combo.ItemData(combo.ListIndex())));
            break;
        }
        case Kind::Check: {
            const int value = static_cast<const CheckBox&>(*k.control).Value();
            if (value != 2)
                append(k.column + wrapbooleanchk(Variant(value)) + QStringLiteral(" "));
            break;
        }
        default: {
            const QString typed = TextOf(*k.control);
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
        int i = 1;
        for (Control* c : Controls()) {
            if (RemembersValue(*c)) {
                const QString value = ResetValue(*c);
                PutValue(*c, value);
                (*memory_.values)[i] = value;
            }
            ++i;
        }
    });
}

void FilterForm::cmdPrint_Click()
{
    FormProc(*this, "cmdPrint_Click", [&] { printThisForm(*this, *web); });
}

} // namespace verbanto
