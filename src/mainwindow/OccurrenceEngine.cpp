#include "mainwindow/OccurrenceEngine.h"
#include "platform/Italian.h"
#include "platform/SqlLite.h"
#include "platform/VbError.h"
#include "shared/basGeneral.h"
#include "shared/basGeneralCustom.h"
#include "shared/basRegistering.h"
#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

namespace verbanto {

using platform::Variant;
using Statement = platform::SqlLiteConnection::Statement;

namespace {

std::function<QDate()>& clockFunction()
{
    static std::function<QDate()> f;
    return f;
}

long long gLastCount = -1;
std::vector<LeftOutDeadline> gLeftOut;

platform::SqlLiteConnection& connection()
{
    if (!gSqlLiteDb || !gSqlLiteDb->IsOpen())
        platform::Err::Raise(platform::Err::ObjectNotSet);
    return *gSqlLiteDb;
}

QString insertSql(int rows)
{
    QString sql = QStringLiteral("insert into memodb.eventi (idscadenza,dataevento) values (?,?)");
    for (int i = 1; i < rows; ++i)
        sql += QStringLiteral(",(?,?)");
    return sql;
}

// The rows of the window today .. today + horizon. The day texts are made once per window, as
// UTF-8 that SQLite reads in place: every deadline walks the same days. Rows go out
// RowsPerInsert at a time in one INSERT; Flush writes what is left.
class EventWriter {
public:
    EventWriter(const QDate& today, int horizon) : from_(today), to_(today.addDays(horizon))
    {
        for (QDate d = from_; d <= to_; d = d.addDays(1))
            texts_.push_back(FormattaData(d).toUtf8());
    }

    void Write(int code, const DeadlineStart& start, long long id)
    {
        ForEachOccurrence(code, start, from_, to_, [&](int day) {
            pending_[count_++] = {id, day};
            if (count_ == RowsPerInsert)
                writeBatch();
        });
    }

    // An id that is no whole number goes in as it is, on its own, after the rows before it.
    void Write(int code, const DeadlineStart& start, const Variant& id)
    {
        if (id.IsNumber() && std::isfinite(id.CDbl()) && id.CDbl() == std::floor(id.CDbl()) && std::abs(id.CDbl()) < 9e18) {
            Write(code, start, static_cast<long long>(id.CDbl()));
            return;
        }
        Flush();
        ForEachOccurrence(code, start, from_, to_, [&](int day) {
            if (!single_)
                single_ = connection().Prepare(insertSql(1));
            single_->Bind(1, id);
            bindDay(*single_, 2, day);
            single_->Run();
        });
    }

    void Flush()
    {
        if (count_ == 0)
            return;
        const auto rest = connection().Prepare(insertSql(count_));
        for (int i = 0; i < count_; ++i) {
            rest->BindInt64(2 * i + 1, pending_[i].id);
            bindDay(*rest, 2 * i + 2, pending_[i].day);
        }
        count_ = 0;
        rest->Run();
    }

private:
    static constexpr int RowsPerInsert = 50;
    struct Row {
        long long id;
        int day;
    };

    void bindDay(Statement& st, int index, int day)
    {
        const QByteArray& text = texts_[static_cast<size_t>(day)];
        st.BindStaticText(index, text.constData(), static_cast<int>(text.size()));
    }

    void writeBatch()
    {
        if (!batch_)
            batch_ = connection().Prepare(insertSql(RowsPerInsert));
        // A value bound stays bound: a slot is bound again only when its value changes.
        for (int i = 0; i < RowsPerInsert; ++i) {
            const Row& row = pending_[i];
            Row& bound = bound_[i];
            if (bound.id != row.id || !batchBound_) {
                batch_->BindInt64(2 * i + 1, row.id);
                bound.id = row.id;
            }
            if (bound.day != row.day || !batchBound_) {
                bindDay(*batch_, 2 * i + 2, row.day);
                bound.day = row.day;
            }
        }
        batchBound_ = true;
        count_ = 0;
        batch_->Run();
    }

    QDate from_, to_;
    std::vector<QByteArray> texts_;   // "YYYY-MM-DD 00:00:00", one per day of the window
    std::unique_ptr<Statement> batch_, single_;
    std::array<Row, RowsPerInsert> pending_{}, bound_{};
    bool batchBound_ = false;
    int count_ = 0;
};

// Dates as Visual Basic holds them: 1 January 100 to 31 December 9999.
constexpr double kFirstSerial = -657434;
constexpr double kLastSerial = 2958465;

// The start as the stored text, as a user would type it or as a date serial; nothing when it
// is no date.
std::optional<DeadlineStart> startOf(const Variant& start)
{
    if (start.IsNull())
        return std::nullopt;
    if (start.IsNumber()) {
        const double serial = start.CDbl();
        if (!(serial >= kFirstSerial && serial < kLastSerial + 1))
            return std::nullopt;
        const double whole = std::floor(serial);
        return DeadlineStart{QDate(1899, 12, 30).addDays(static_cast<qint64>(whole)), serial == whole};
    }
    const QString text = start.Text();
    if (const auto stored = ReadStoredStart(QStringView(text)))
        return stored;
    const auto dt = platform::ParseDateTime(text);
    if (!dt)
        return std::nullopt;
    return DeadlineStart{dt->date(), dt->time() == QTime(0, 0)};
}

DeadlineStart readStart(const Variant& start)
{
    if (start.IsNull())
        platform::Err::Raise(platform::Err::InvalidUseOfNull);
    const auto s = startOf(start);
    if (!s)
        platform::Err::Raise(start.IsNumber() ? platform::Err::Overflow : platform::Err::TypeMismatch);
    return *s;
}

// A generator called on its own, outside a run, writes its rows at once.
void generate(int code, const Variant& start, const Variant& id, int horizon)
{
    const DeadlineStart s = readStart(start);
    EventWriter writer(EngineToday(), horizon);
    writer.Write(code, s, id);
    writer.Flush();
}

// What a deadline's code asks for: one of the rules, nothing (Null, another number), or a
// code that can't be read (text that is no number).
constexpr int kNoRule = -1;
constexpr int kUnreadable = -2;

int ruleOf(const Statement& row, int column)
{
    double code;
    switch (row.ColumnKind(column)) {
    case Statement::Null: return kNoRule;
    case Statement::Integer: {
        const long long n = row.ColumnInt64(column);
        return n >= RecurOnce && n <= RecurWorkingDays ? static_cast<int>(n) : kNoRule;
    }
    case Statement::Real: code = row.ColumnValue(column).CDbl(); break;
    default: {
        const Variant text = row.ColumnValue(column);
        if (!text.IsNumeric())
            return kUnreadable;
        code = text.CDbl();
    }
    }
    for (int rule = RecurOnce; rule <= RecurWorkingDays; ++rule)
        if (code == rule)
            return rule;
    return kNoRule;
}

std::optional<DeadlineStart> startOf(const Statement& row, int column)
{
    if (row.ColumnKind(column) == Statement::Text)
        if (const auto stored = ReadStoredStart(row.ColumnUtf8(column)))
            return stored;
    return startOf(row.ColumnValue(column));
}

// The description and the contact of the deadlines left out, for the user to find them.
std::vector<LeftOutDeadline> describe(const std::vector<Variant>& ids)
{
    std::vector<LeftOutDeadline> out;
    if (ids.empty())
        return out;
    const auto query = connection().Prepare(QStringLiteral(
        "select p.causale, a.cognome, a.nome from pagamenti p left join anagrafica a on a.anagraficaid=p.anagraficaid "
        "where p.pagamentiid=?"));
    for (const Variant& id : ids) {
        LeftOutDeadline d;
        query->Bind(1, id);
        if (query->Next()) {
            d.description = query->ColumnValue(0).Text().trimmed();
            d.contact = (query->ColumnValue(1).Text().trimmed() + QLatin1Char(' ') + query->ColumnValue(2).Text().trimmed()).trimmed();
            while (query->Next()) {
            }
        }
        out.push_back(d);
    }
    return out;
}

} // namespace

QDate EngineToday()
{
    const auto& f = clockFunction();
    return f ? f() : QDate::currentDate();
}

void SetEngineClock(std::function<QDate()> today) { clockFunction() = std::move(today); }

long long UpcomingCount() { return gLastCount; }

const std::vector<LeftOutDeadline>& LeftOutDeadlines() { return gLeftOut; }

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
        std::vector<Variant> unreadable;
        // One-time deadlines are read against the local date, the date the window starts on.
        const auto deadlines = db.Prepare(QStringLiteral("select pagamentiid, datapagamento, importo from pagamenti where datapagamento>='") +
                                          today.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral("' or importo>0  "));
        while (deadlines->Next()) {
            const int rule = ruleOf(*deadlines, 2);
            if (rule == kNoRule)
                continue;
            const auto start = rule == kUnreadable ? std::nullopt : startOf(*deadlines, 1);
            // A deadline that can't be read is left out; the others are counted all the same.
            if (!start) {
                unreadable.push_back(deadlines->ColumnValue(0));
                continue;
            }
            if (deadlines->ColumnKind(0) == Statement::Integer)
                writer.Write(rule, *start, deadlines->ColumnInt64(0));
            else
                writer.Write(rule, *start, deadlines->ColumnValue(0));
        }
        writer.Flush();
        std::vector<LeftOutDeadline> leftOut = describe(unreadable);
        ResetRs();
        db.Execute(QStringLiteral("release eventi"));
        gLeftOut = std::move(leftOut);
    } catch (...) {
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
