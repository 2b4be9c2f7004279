#include "mainwindow/OccurrenceEngine.h"
#include "mainwindow/frmMain.h"
#include "platform/Italian.h"
#include "platform/SqlLite.h"
#include "platform/VbError.h"
#include "shared/basGeneral.h"
#include "shared/basGeneralCustom.h"
#include "shared/basRegistering.h"
#include <QDateTime>
#include <algorithm>
#include <cmath>
#include <vector>

namespace verbanto {

using platform::Variant;

namespace {

std::function<QDate()>& clockFunction()
{
    static std::function<QDate()> f;
    return f;
}

long long gLastCount = -1;

// One day of the window, with what the rules test and the text the rows store.
struct WindowDay {
    QDate date;
    int weekday;      // Sunday 1 ... Saturday 7
    int day;
    int month;
    Variant text;     // "YYYY-MM-DD 00:00:00"
};

// The window today .. today + horizon, made once per day and horizon: every deadline of a run
// walks the same days, so their tests and texts are worked out only once.
const std::vector<WindowDay>& windowDays(const QDate& today, int horizon)
{
    static QDate madeFor;
    static int madeHorizon = -1;
    static std::vector<WindowDay> days;
    const int wanted = std::max(horizon, -1);
    if (today != madeFor || wanted != madeHorizon) {
        days.clear();
        for (int i = 0; i <= horizon; ++i) {
            const QDate d = today.addDays(i);
            days.push_back({d, d.dayOfWeek() % 7 + 1, d.day(), d.month(), Variant(FormattaData(d))});
        }
        madeFor = today;
        madeHorizon = wanted;
    }
    return days;
}

// The start of a deadline as the rules need it. The comparisons use its full date and time,
// so a start after midnight counts from the next day on and never equals a day.
struct StartDate {
    QDate date;
    bool midnight;
    QDate firstDay() const { return midnight ? date : date.addDays(1); }
};

StartDate readStart(const Variant& start)
{
    if (start.IsNull())
        platform::Err::Raise(platform::Err::InvalidUseOfNull);
    if (start.IsNumber()) {
        const double serial = start.CDbl();
        const double whole = std::floor(serial);
        return {QDate(1899, 12, 30).addDays(static_cast<qint64>(whole)), serial == whole};
    }
    const QString text = start.Text();
    // The stored form "YYYY-MM-DD HH:MM:SS" is read directly; anything else the general way.
    if (text.size() == 19 && text[4] == u'-' && text[7] == u'-' && text[10] == u' ' && text[13] == u':' && text[16] == u':') {
        const auto number = [&](int from, int length) {
            int v = 0;
            for (int i = from; i < from + length; ++i) {
                if (!text[i].isDigit())
                    return -1;
                v = v * 10 + text[i].digitValue();
            }
            return v;
        };
        const QDate date(number(0, 4), number(5, 2), number(8, 2));
        const QTime time(number(11, 2), number(14, 2), number(17, 2));
        if (date.isValid() && time.isValid())
            return {date, time == QTime(0, 0)};
    }
    const auto dt = platform::ParseDateTime(text);
    if (!dt)
        platform::Err::Raise(platform::Err::TypeMismatch);
    return {dt->date(), dt->time() == QTime(0, 0)};
}

// The INSERT and the day of a run, prepared once; generators called outside a run prepare
// their own and read the clock themselves.
platform::SqlLiteConnection::Statement* gRunInsert = nullptr;
QDate gRunToday;
const char* const kInsertEvent = "insert into memodb.eventi (idscadenza,dataevento) values (?,?)";

platform::SqlLiteConnection& connection()
{
    if (!gSqlLiteDb || !gSqlLiteDb->IsOpen())
        platform::Err::Raise(platform::Err::ObjectNotSet);
    return *gSqlLiteDb;
}

template <class Rule>
void generate(const Variant& start, const Variant& id, int horizon, Rule holds)
{
    const StartDate s = readStart(start);
    std::unique_ptr<platform::SqlLiteConnection::Statement> own;
    platform::SqlLiteConnection::Statement* insert = gRunInsert;
    if (!insert) {
        own = connection().Prepare(QString::fromLatin1(kInsertEvent));
        insert = own.get();
    }
    const auto& days = windowDays(gRunInsert ? gRunToday : EngineToday(), horizon);
    if (days.empty())
        return;
    // Days before the start can't hold an occurrence.
    const qint64 skip = std::max<qint64>(0, days.front().date.daysTo(s.firstDay()));
    for (size_t i = static_cast<size_t>(std::min<qint64>(skip, static_cast<qint64>(days.size()))); i < days.size(); ++i) {
        const WindowDay& d = days[i];
        if (holds(d, s)) {
            insert->Bind(1, id);
            insert->Bind(2, d.text);
            insert->Run();
        }
    }
}

int weekdayOf(const QDate& d) { return d.dayOfWeek() % 7 + 1; }

// The code as a number, or -1 when it names no rule (Null, text that is no number).
double codeOf(const Variant& v)
{
    if (v.IsNull() || !v.IsNumeric())
        return -1;
    return v.CDbl();
}

} // namespace

QDate EngineToday()
{
    const auto& f = clockFunction();
    return f ? f() : QDate::currentDate();
}

void SetEngineClock(std::function<QDate()> today) { clockFunction() = std::move(today); }

long long UpcomingCount() { return gLastCount; }

void GenerateOnce(const Variant& start, const Variant& id, int horizon)
{
    generate(start, id, horizon, [](const WindowDay& d, const StartDate& s) { return s.midnight && d.date == s.date; });
}

void GenerateDaily(const Variant& start, const Variant& id, int horizon)
{
    generate(start, id, horizon, [](const WindowDay&, const StartDate&) { return true; });
}

void GenerateWeekly(const Variant& start, const Variant& id, int horizon)
{
    const int weekday = weekdayOf(readStart(start).date);
    generate(start, id, horizon, [weekday](const WindowDay& d, const StartDate&) { return d.weekday == weekday; });
}

void GenerateMonthly(const Variant& start, const Variant& id, int horizon)
{
    const int day = readStart(start).date.day();
    generate(start, id, horizon, [day](const WindowDay& d, const StartDate&) { return d.day == day; });
}

void GenerateYearly(const Variant& start, const Variant& id, int horizon)
{
    const QDate s = readStart(start).date;
    const int day = s.day(), month = s.month();
    generate(start, id, horizon, [day, month](const WindowDay& d, const StartDate&) { return d.day == day && d.month == month; });
}

void GenerateWorkingDays(const Variant& start, const Variant& id, int horizon)
{
    generate(start, id, horizon, [](const WindowDay& d, const StartDate&) { return d.weekday != 1 && d.weekday != 7; });
}

void GenerateEvents(int horizon)
{
    platform::SqlLiteConnection& db = connection();
    // One transaction for the whole run: a failure leaves the rows of the last good run,
    // which is what the caption still counts.
    db.Execute(QStringLiteral("savepoint eventi"));
    try {
        db.Execute(QStringLiteral("delete from memodb.eventi"));
        const auto insert = db.Prepare(QString::fromLatin1(kInsertEvent));
        gRunInsert = insert.get();
        gRunToday = EngineToday();
        // One-time deadlines are read against the local date, the date the window starts on.
        const QString today = gRunToday.toString(QStringLiteral("yyyy-MM-dd"));
        ResetRs();
        gRsOpen(QStringLiteral("select * from pagamenti where datapagamento>='") + today + QStringLiteral("' or importo>0  "));
        while (!gRs->EOF_()) {
            const Variant start = gRs->Fields(QStringLiteral("datapagamento")).Value();
            const double code = codeOf(gRs->Fields(QStringLiteral("importo")).Value());
            const Variant id = gRs->Fields(QStringLiteral("pagamentiid")).Value();
            if (code == static_cast<int>(RecurDaily))
                GenerateDaily(start, id, horizon);
            else if (code == static_cast<int>(RecurWeekly))
                GenerateWeekly(start, id, horizon);
            else if (code == static_cast<int>(RecurMonthly))
                GenerateMonthly(start, id, horizon);
            else if (code == static_cast<int>(RecurYearly))
                GenerateYearly(start, id, horizon);
            else if (code == static_cast<int>(RecurWorkingDays))
                GenerateWorkingDays(start, id, horizon);
            else if (code == static_cast<int>(RecurOnce))
                GenerateOnce(start, id, horizon);
            gRs->MoveNext();
        }
        gRunInsert = nullptr;
        ResetRs();
        db.Execute(QStringLiteral("release eventi"));
    } catch (...) {
        gRunInsert = nullptr;
        ResetRs();
        try {
            db.Execute(QStringLiteral("rollback to eventi"));
            db.Execute(QStringLiteral("release eventi"));
        } catch (...) {
        }
        throw;
    }
}

void RefreshUpcomingDeadlines()
{
    const int horizon = Variant(getSetting(QStringLiteral("ORIZTEMP"))).CInt();
    GenerateEvents(horizon);
    ResetRs();
    gRsOpen(QStringLiteral("select count(*) as quanti from memodb.eventi "));
    const long long count = static_cast<long long>(gRs->Fields(0).Value().CDbl());
    gLastCount = count;
    const QString n = QString::number(count);
    if (platform::Forms::Exists<frmMain>()) {
        frmMain& main = platform::Forms::Instance<frmMain>();
        if (main.Loaded() && main.cmdVisualizaScadenze) {
            main.cmdVisualizaScadenze->setCaption(QStringLiteral("Visualizza Prossime Scadenze (") + n + QStringLiteral(")"));
            if (count > 0)
                main.ShowSysTrayBaloon(QStringLiteral("Hai ") + n + QStringLiteral(" prossime scadenze"), QStringLiteral("Scadenze"));
        }
    }
}

QString RecurrenceName(const Variant& code)
{
    switch (code.CInt()) {
    case RecurOnce: return QStringLiteral("Una sola volta");
    case RecurDaily: return QStringLiteral("Ogni giorno");
    case RecurWeekly: return QStringLiteral("Ogni settimana");
    case RecurMonthly: return QStringLiteral("Ogni mese");
    case RecurYearly: return QStringLiteral("Ogni anno");
    case RecurWorkingDays: return QStringLiteral("Ogni giorno lavorativo");
    default: return QString();
    }
}

} // namespace verbanto
