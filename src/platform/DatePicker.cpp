#include "platform/DatePicker.h"
#include "platform/Italian.h"
#include <QDateEdit>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>

namespace platform {

namespace {

bool isSeparator(QChar c) { return c == u'/' || c == u'-' || c == u'.'; }

} // namespace

// A date field that takes a whole date typed the Italian way (day first, "/", "-" or "." or no
// separators, two- or four-digit year) and always holds a valid date: the typed text is read
// on Enter or when the field is left, and a text that is no date gives the previous date back.
// Up and Down change the day, month or year under the caret; the calendar drops down as before.
class DateField : public QDateEdit {
public:
    DateField()
    {
        setKeyboardTracking(false);
        // The text is free while it is typed: the caret does not jump from section to section.
        QObject::disconnect(lineEdit(), SIGNAL(cursorPositionChanged(int, int)), this, nullptr);
    }

    // The next character typed starts a new date instead of editing the one shown.
    void startFresh() { fresh_ = true; }

    // Reads what has been typed and not yet read; typing then starts a new date.
    void commitTyped()
    {
        if (lineEdit()->text() == textFromDateTime(dateTime()))
            return;
        interpretText();
        fresh_ = true;
    }

    QValidator::State validate(QString& text, int&) const override
    {
        if (text.size() > 10 || std::any_of(text.begin(), text.end(), [](QChar c) { return !c.isDigit() && !isSeparator(c); }))
            return QValidator::Invalid;
        const auto d = ParseTypedDate(text);
        return d && *d >= minimumDate() && *d <= maximumDate() ? QValidator::Acceptable : QValidator::Intermediate;
    }

    void fixup(QString&) const override {}

    QDateTime dateTimeFromText(const QString& text) const override
    {
        const auto d = ParseTypedDate(text);
        return d ? QDateTime(*d, QTime(0, 0)) : dateTime();
    }

    void stepBy(int steps) override
    {
        const int section = sectionAtCaret();
        commitTyped();
        const QDate d = date();
        const QDate next = section == 0 ? d.addDays(steps) : section == 1 ? d.addMonths(steps) : d.addYears(steps);
        if (next >= minimumDate() && next <= maximumDate())
            setDate(next);
        static const int starts[3] = {0, 3, 6}, lengths[3] = {2, 2, 4};
        lineEdit()->setSelection(starts[section], lengths[section]);
    }

    StepEnabled stepEnabled() const override { return isReadOnly() ? StepNone : (StepUpEnabled | StepDownEnabled); }

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        switch (e->key()) {
        case Qt::Key_Enter:
        case Qt::Key_Return:
            // Read here; the key goes on to the dialog, whose default command it presses.
            fresh_ = true;
            QDateEdit::keyPressEvent(e);
            return;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_F4:
            fresh_ = false;
            QDateEdit::keyPressEvent(e);
            return;
        default:
            break;
        }
        const bool typing = !e->text().isEmpty() && e->text().at(0).isPrint() &&
                            !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (fresh_ && typing && !lineEdit()->hasSelectedText())
            lineEdit()->selectAll();
        fresh_ = false;
        // Plain text editing, without the sections of a date edit.
        QAbstractSpinBox::keyPressEvent(e);
    }

    void focusInEvent(QFocusEvent* e) override
    {
        QDateEdit::focusInEvent(e);
        if (e->reason() == Qt::PopupFocusReason)
            return;
        fresh_ = true;
        if (e->reason() != Qt::MouseFocusReason)
            lineEdit()->selectAll();
    }

    // Tab leaves the field rather than walking its sections.
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }

private:
    int sectionAtCaret() const
    {
        const QString text = lineEdit()->text();
        const int caret = std::min(lineEdit()->cursorPosition(), static_cast<int>(text.size()));
        return std::min(2, static_cast<int>(std::count_if(text.begin(), text.begin() + caret, isSeparator)));
    }

    bool fresh_ = true;
};

// ---------------------------------------------------------------- DatePicker

DatePicker::DatePicker(Form& f, const QString& name, int index)
    : Control(f, name, index), d_(new DateField())
{
    d_->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    d_->setCalendarPopup(true);
    d_->setMinimumDate(QDate(1753, 1, 1));
    d_->setMaximumDate(QDate(9999, 12, 31));
    d_->setDate(QDate::currentDate());
    setWidget(d_);
    QObject::connect(d_, &QDateEdit::dateChanged, d_, [this](const QDate&) { Dispatch(Change); });
}

QDate DatePicker::Value() const
{
    d_->commitTyped();
    return d_->date();
}

void DatePicker::setValue(const QDate& d)
{
    if (!d.isValid())
        Err::Raise(380, QStringLiteral("Invalid property value"));
    d_->setDate(d);
    d_->startFresh();
}

QString DatePicker::Text() const { return Value().toString(QStringLiteral("dd/MM/yyyy")); }

void DatePicker::setValueText(const QString& value)
{
    // A picker always holds a date: an empty or unreadable value leaves it as it is.
    if (const auto d = ParseDate(value))
        setValue(*d);
}

} // namespace platform
