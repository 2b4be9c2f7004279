#include "platform/DatePicker.h"
#include "platform/Italian.h"
#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QStyleOption>
#include <QVBoxLayout>
#include <algorithm>

namespace platform {

namespace {

const QDate kFirstDay(100, 1, 1);
const QDate kLastDay(9999, 12, 31);
constexpr int kTypedLength = 10;   // "dd/mm/yyyy"

bool isSeparator(QChar c) { return c == u'/' || c == u'-' || c == u'.'; }

std::optional<QDate> readTyped(const QString& text)
{
    const auto d = ParseTypedDate(text);
    if (d && *d >= kFirstDay && *d <= kLastDay)
        return d;
    return std::nullopt;
}

QIcon dropDownIcon(const QWidget* w)
{
    const qreal ratio = w->devicePixelRatioF();
    QPixmap pm(QSize(12, 12) * ratio);
    pm.setDevicePixelRatio(ratio);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    QStyleOption opt;
    opt.initFrom(w);
    opt.rect = QRect(0, 0, 12, 12);
    w->style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &opt, &p, w);
    return QIcon(pm);
}

} // namespace

// A line edit that holds whatever is typed. Up and Down step the day, month or year under the
// caret of a date it can read; F4, Alt+Down or the arrow at its end drop its calendar down.
// A date the program shows is replaced as a whole by the next character typed, unless the user
// has placed the caret first; a date it can read is shown as "dd/mm/yyyy" once the user leaves
// the field or presses Enter, so the user sees how it was read.
class DateField : public QLineEdit {
public:
    DateField()
    {
        QAction* drop = addAction(dropDownIcon(this), QLineEdit::TrailingPosition);
        drop->setToolTip(QStringLiteral("Calendario"));
        QObject::connect(drop, &QAction::triggered, this, [this] { dropDown(); });
        setMaxLength(kTypedLength);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }

    // Text set by the program, not typed: the next character typed starts a new date.
    void showText(const QString& text)
    {
        setMaxLength(std::max(kTypedLength, static_cast<int>(text.size())));
        setText(text);
        home(false);   // a stored text longer than the field shows its beginning
        fresh_ = true;
    }

    QSize sizeHint() const override
    {
        const QSize base = QLineEdit::sizeHint();
        const int digits = fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000"));
        // The text, the arrow's button and the frame's margins.
        return QSize(digits + base.height() + 12, base.height());
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        const bool alt = e->modifiers() & Qt::AltModifier;
        switch (e->key()) {
        case Qt::Key_F4:
            dropDown();
            return;
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (alt)
                dropDown();
            else
                step(e->key() == Qt::Key_Up ? 1 : -1);
            return;
        case Qt::Key_Enter:
        case Qt::Key_Return:
            // Shown as read; the key goes on to the dialog, whose default command it presses.
            showAsRead();
            QLineEdit::keyPressEvent(e);
            return;
        default:
            break;
        }
        const bool typing = !e->text().isEmpty() && e->text().at(0).isPrint() &&
                            !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (fresh_ && typing && !hasSelectedText())
            selectAll();
        // Any key but a modifier alone is the user's own editing from here on.
        const int k = e->key();
        if (k != Qt::Key_Shift && k != Qt::Key_Control && k != Qt::Key_Alt && k != Qt::Key_Meta && k != Qt::Key_AltGr)
            fresh_ = false;
        QLineEdit::keyPressEvent(e);
    }

    void mousePressEvent(QMouseEvent* e) override
    {
        fresh_ = false;
        QLineEdit::mousePressEvent(e);
    }

    void focusOutEvent(QFocusEvent* e) override
    {
        // Not when a message box or the calendar takes the focus for a moment.
        if (e->reason() != Qt::PopupFocusReason && e->reason() != Qt::ActiveWindowFocusReason)
            showAsRead();
        QLineEdit::focusOutEvent(e);
    }

private:
    void showAsRead()
    {
        const auto d = readTyped(text());
        if (d && text() != FormatShortDate(*d))
            showText(FormatShortDate(*d));
    }

    // The section under the caret (or at the start of the selection): 0 day, 1 month, 2 year.
    int section() const
    {
        const QString t = text();
        const int at = std::min(hasSelectedText() ? selectionStart() : cursorPosition(), static_cast<int>(t.size()));
        if (std::any_of(t.begin(), t.end(), isSeparator))
            return std::min(2, static_cast<int>(std::count_if(t.begin(), t.begin() + at, isSeparator)));
        return at <= 2 ? 0 : at <= 4 ? 1 : 2;   // the digits alone: ddmmyy[yy]
    }

    void step(int steps)
    {
        if (isReadOnly())
            return;
        // An empty field starts from today; a text that is no date is left for the user to mend.
        const bool empty = text().trimmed().isEmpty();
        const auto d = empty ? std::optional<QDate>(QDate::currentDate()) : readTyped(text());
        if (!d)
            return;
        const int s = empty ? 0 : section();
        const QDate next = empty ? *d : s == 0 ? d->addDays(steps) : s == 1 ? d->addMonths(steps) : d->addYears(steps);
        if (next < kFirstDay || next > kLastDay)
            return;
        showText(FormatShortDate(next));
        fresh_ = false;
        static const int starts[3] = {0, 3, 6}, lengths[3] = {2, 2, 4};
        setSelection(starts[s], lengths[s]);
    }

    void dropDown()
    {
        if (isReadOnly() || !isEnabled() || (popup_ && popup_->isVisible()))
            return;
        auto* popup = new QFrame(this, Qt::Popup);
        popup->setAttribute(Qt::WA_DeleteOnClose);
        popup->setFrameShape(QFrame::StyledPanel);
        auto* layout = new QVBoxLayout(popup);
        layout->setContentsMargins(1, 1, 1, 1);
        auto* calendar = new QCalendarWidget(popup);
        calendar->setLocale(QLocale(QLocale::Italian, QLocale::Italy));
        calendar->setFirstDayOfWeek(Qt::Monday);
        calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        calendar->setDateRange(kFirstDay, kLastDay);
        calendar->setSelectedDate(readTyped(text()).value_or(QDate::currentDate()));
        layout->addWidget(calendar);
        const auto pick = [this, popup](QDate d) {
            popup->close();
            showText(FormatShortDate(d));
        };
        QObject::connect(calendar, &QCalendarWidget::clicked, this, pick);
        QObject::connect(calendar, &QCalendarWidget::activated, this, pick);
        popup_ = popup;

        // Under the field, or above it when the screen ends first.
        const QSize size = popup->sizeHint();
        QPoint at = mapToGlobal(QPoint(0, height()));
        if (const QScreen* s = screen()) {
            const QRect room = s->availableGeometry();
            if (at.y() + size.height() > room.bottom())
                at.setY(mapToGlobal(QPoint(0, 0)).y() - size.height());
            at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - size.width())));
        }
        popup->move(at);
        popup->show();
        calendar->setFocus(Qt::PopupFocusReason);
    }

    bool fresh_ = true;
    QPointer<QFrame> popup_;
};

// ---------------------------------------------------------------- DatePicker

DatePicker::DatePicker(Form& f, const QString& name, int index) : Control(f, name, index), d_(new DateField())
{
    setWidget(d_);
    QObject::connect(d_, &QLineEdit::textChanged, d_, [this] { Dispatch(Change); });
}

QString DatePicker::Text() const { return d_->text(); }

QDate DatePicker::Value() const { return readTyped(Text()).value_or(QDate()); }

void DatePicker::setValue(const QDate& d)
{
    if (!d.isValid())
        Err::Raise(380, QStringLiteral("Invalid property value"));
    d_->showText(FormatShortDate(d));
}

void DatePicker::setStoredText(const QString& stored)
{
    auto d = ParseDate(stored);
    if (!d || *d < kFirstDay || *d > kLastDay)
        d = readTyped(stored);
    stored_ = stored.isEmpty() ? std::nullopt : std::optional<QString>(stored);
    d_->showText(d ? FormatShortDate(*d) : stored);
    loaded_ = Text();
}

std::optional<QString> DatePicker::KeptStoredText() const
{
    if (stored_ && Text() == loaded_)
        return stored_;
    return std::nullopt;
}

bool DatePicker::HoldsDate() const { return Value().isValid() || KeptStoredText().has_value(); }

void DatePicker::setValueText(const QString& value) { d_->showText(value); }

} // namespace platform
