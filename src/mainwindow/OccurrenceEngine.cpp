#include "mainwindow/OccurrenceEngine.h"
#include "platform/Italian.h"
#include "platform/SqlLite.h"
#include "platform/VbError.h"
#include "shared/basGeneral.h"
#include "shared/basGeneralCustom.h"
#include "shared/basRegistering.h"
#include <cmath>
#include <memory>
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

platform::SqlLiteConnection& connection()
{
    if (!gSqlLiteDb || !gSqlLiteDb->IsOpen())
        platform::Err::Raise(platform::Err::ObjectNotSet);
    return *gSqlLiteDb;
}

// The window today .. today + horizon with the INSERT that writes its days, prepared once.
// The date texts are made once per window: every deadline walks the same days.
class EventWriter {
public:
    EventWriter(const QDate& today, int horizon)
        : from_(today), to_(today.addDays(horizon)),
          insert_(connection().Prepare(QStringLiteral("insert into memodb.eventi (idscadenza,dataevento) values (?,?)")))
    {
        for (QDate d = from_; d <= to_; d = d.addDays(1))
            texts_.emplace_back(FormattaData(d));
    }

    void Write(int code, const DeadlineStart& start, const Variant& id)
    {
        for (const QDate& d : OccurrenceDays(code, start, from_, to_)) {
            insert_->Bind(1, id);
            insert_->Bind(2, texts_[static_cast<size_t>(from_.daysTo(d))]);
            insert_->Run();
        }
    }

private:
    QDate from_, to_;
    std::unique_ptr<platform::SqlLiteConnection::Statement> insert_;
    std::vector<Variant> texts_;   // "YYYY-MM-DD 00:00:00", one per day of the window
};

// The writer of the run under way; a generator called outside a run makes its own.
EventWriter* gRun = nullptr;

// The start as a date serial, as the stored text or as a user would type it.
DeadlineStart readStart(const Variant& start)
{
    if (start.IsNull())
        platform::Err::Raise(platform::Err::InvalidUseOfNull);
    if (start.IsNumber()) {
        const double serial = start.CDbl();
        const double whole = std::floor(serial);
        return {QDate(1899, 12, 30).addDays(static_cast<qint64>(whole)), serial == whole};
    }
    const QString text = start.Text();
    if (const auto stored = ReadStoredStart(text))
        return *stored;
    const auto dt = platform::ParseDateTime(text);
    if (!dt)
        platform::Err::Raise(platform::Err::TypeMismatch);
    return {dt->date(), dt->time() == QTime(0, 0)};
}

void generate(int code, const Variant& start, const Variant& id, int horizon)
{
    const DeadlineStart s = readStart(start);
    if (gRun) {
        gRun->Write(code, s, id);
        return;
    }
    EventWriter(EngineToday(), horizon).Write(code, s, id);
}

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

void GenerateOnce(const Variant& start, const Variant& id, int horizon) { generate(RecurOnce, start, id, horizon); }
void GenerateDaily(const Variant& start, const Variant& id, int horizon) { generate(RecurDaily, start, id, horizon); }
void GenerateWeekly(const Variant& start, const Variant& id, int horizon) { generate(RecurWeekly, start, id, horizon); }
void GenerateMonthly(const Variant& start, const Variant& id, int horizon) { generate(RecurMonthly, start, id, horizon); }
void GenerateYearly(const Variant& start, const Variant& id, int horizon) { generate(RecurYearly, start, id, horizon); }
void GenerateWorkingDays(const Variant& start, const Variant& id, int horizon) { generate(RecurWorkingDays, start, id, horizon); }

void GenerateEvents(int horizon)
{
    platform::SqlLiteConnection& db = connection();
    // One transaction for the whole run: a failure leaves the rows of the last good run,
    // which is what the caption still counts.
    db.Execute(QStringLiteral("savepoint eventi"));
    try {
        db.Execute(QStringLiteral("delete from memodb.eventi"));
        const QDate today = EngineToday();
        EventWriter writer(today, horizon);
        gRun = &writer;
        // One-time deadlines are read against the local date, the date the window starts on.
        ResetRs();
        gRsOpen(QStringLiteral("select * from pagamenti where datapagamento>='") + today.toString(QStringLiteral("yyyy-MM-dd")) +
                QStringLiteral("' or importo>0  "));
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
        gRun = nullptr;
        ResetRs();
        db.Execute(QStringLiteral("release eventi"));
    } catch (...) {
        gRun = nullptr;
        ResetRs();
        try {
            db.Execute(QStringLiteral("rollback to eventi"));
            db.Execute(QStringLiteral("release eventi"));
        } catch (...) {
        }
        throw;
    }
}

long long RefreshUpcomingDeadlines()
{
    const int horizon = Variant(getSetting(QStringLiteral("ORIZTEMP"))).CInt();
    GenerateEvents(horizon);
    ResetRs();
    gRsOpen(QStringLiteral("select count(*) as quanti from memodb.eventi "));
    gLastCount = static_cast<long long>(gRs->Fields(0).Value().CDbl());
    return gLastCount;
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
