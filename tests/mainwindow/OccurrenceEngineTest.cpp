// The occurrence engine against calendars worked out here, by hand and with <chrono>.
#include "harness/TestEnv.h"
#include "mainwindow/OccurrenceEngine.h"
#include "platform/VbError.h"
#include "shared/basGeneral.h"
#include "shared/basRegistering.h"
#include <chrono>
#include <map>
#include <random>
#include <set>

using namespace verbanto;
using platform::Variant;

namespace {

class OccurrenceEngineTest : public VerbantoTest {
protected:
    void SetUp() override
    {
        VerbantoTest::SetUp();
        OpenProgramDb();
        gDbExecute(QStringLiteral("insert into anagrafica (anagraficaid, cognome, nome) values (1, 'Rossi', 'Mario')"));
    }
    void TearDown() override
    {
        SetEngineClock({});
        VerbantoTest::TearDown();
    }

    void Today(int y, int m, int d)
    {
        const QDate today(y, m, d);
        SetEngineClock([today] { return today; });
    }

    // Adds a deadline and gives its id.
    long long Deadline(const QString& start, const QString& code)
    {
        gDbExecute(QStringLiteral("insert into pagamenti (anagraficaid, datapagamento, importo, causale) values (1, ") +
                   (start.isNull() ? QStringLiteral("Null") : QStringLiteral("'") + start + QStringLiteral("'")) + QStringLiteral(", ") +
                   code + QStringLiteral(", 'scadenza')"));
        return Rows(QStringLiteral("select max(pagamentiid) from pagamenti")).front().toLongLong();
    }

    QStringList Rows(const QString& query)
    {
        QStringList out;
        auto rs = gSqlLiteDb->OpenRecordset(query);
        while (!rs->EOF_()) {
            out << rs->Fields(0).Value().Text();
            rs->MoveNext();
        }
        return out;
    }

    // The occurrence days of one deadline, in date order.
    QStringList Days(long long id)
    {
        return Rows(QStringLiteral("select dataevento from memodb.eventi where idscadenza=") + QString::number(id) +
                    QStringLiteral(" order by dataevento"));
    }

    long long EventCount() { return Rows(QStringLiteral("select count(*) from memodb.eventi")).front().toLongLong(); }

    static QStringList Midnights(std::initializer_list<const char*> days)
    {
        QStringList out;
        for (const char* d : days)
            out << QString::fromLatin1(d) + QStringLiteral(" 00:00:00");
        return out;
    }
};

TEST_F(OccurrenceEngineTest, DailyCrossesLeapFebruaryAndMonthEnd)
{
    Today(2024, 2, 25);
    const auto before = Deadline(QStringLiteral("2024-01-10 00:00:00"), QStringLiteral("1"));
    const auto inside = Deadline(QStringLiteral("2024-02-28 00:00:00"), QStringLiteral("1"));
    const auto late = Deadline(QStringLiteral("2024-02-28 10:30:00"), QStringLiteral("1"));
    const auto after = Deadline(QStringLiteral("2024-03-07 00:00:00"), QStringLiteral("1"));
    GenerateEvents(10);
    EXPECT_EQ(Days(before), Midnights({"2024-02-25", "2024-02-26", "2024-02-27", "2024-02-28", "2024-02-29",
                                       "2024-03-01", "2024-03-02", "2024-03-03", "2024-03-04", "2024-03-05", "2024-03-06"}));
    EXPECT_EQ(Days(inside), Midnights({"2024-02-28", "2024-02-29", "2024-03-01", "2024-03-02", "2024-03-03",
                                       "2024-03-04", "2024-03-05", "2024-03-06"}));
    // A start after midnight counts from the next day on.
    EXPECT_EQ(Days(late).front(), QStringLiteral("2024-02-29 00:00:00"));
    EXPECT_EQ(Days(late).size(), 7);
    EXPECT_TRUE(Days(after).isEmpty());
}

TEST_F(OccurrenceEngineTest, HorizonZeroNegativeAndRerun)
{
    Today(2024, 5, 15);
    const auto daily = Deadline(QStringLiteral("2024-04-01 00:00:00"), QStringLiteral("1"));
    GenerateEvents(0);
    EXPECT_EQ(Days(daily), Midnights({"2024-05-15"}));
    GenerateEvents(-3);
    EXPECT_EQ(EventCount(), 0);
    // Every run replaces what the last one wrote.
    GenerateEvents(2);
    GenerateEvents(2);
    EXPECT_EQ(EventCount(), 3);
}

TEST_F(OccurrenceEngineTest, OnceMatchesOnlyItsOwnMidnightAgainstTheLocalDate)
{
    // A day long past for the database's own clock: the local date of the engine decides.
    Today(2020, 5, 10);
    const auto today = Deadline(QStringLiteral("2020-05-10 00:00:00"), QStringLiteral("0"));
    const auto yesterday = Deadline(QStringLiteral("2020-05-09 00:00:00"), QStringLiteral("0"));
    const auto inWindow = Deadline(QStringLiteral("2020-06-01 00:00:00"), QStringLiteral("0"));
    const auto beyond = Deadline(QStringLiteral("2020-06-10 00:00:00"), QStringLiteral("0"));
    const auto withTime = Deadline(QStringLiteral("2020-05-12 09:00:00"), QStringLiteral("0"));
    GenerateEvents(30);
    EXPECT_EQ(Days(today), Midnights({"2020-05-10"}));
    EXPECT_TRUE(Days(yesterday).isEmpty());
    EXPECT_EQ(Days(inWindow), Midnights({"2020-06-01"}));
    EXPECT_TRUE(Days(beyond).isEmpty());
    EXPECT_TRUE(Days(withTime).isEmpty());
}

TEST_F(OccurrenceEngineTest, WeeklyFromAStartInsideTheWindow)
{
    Today(2024, 1, 25);
    const auto weekly = Deadline(QStringLiteral("2024-01-30 00:00:00"), QStringLiteral("2"));   // a Tuesday
    const auto past = Deadline(QStringLiteral("2023-11-05 00:00:00"), QStringLiteral("2"));     // a Sunday
    GenerateEvents(30);
    EXPECT_EQ(Days(weekly), Midnights({"2024-01-30", "2024-02-06", "2024-02-13", "2024-02-20"}));
    EXPECT_EQ(Days(past), Midnights({"2024-01-28", "2024-02-04", "2024-02-11", "2024-02-18"}));
}

TEST_F(OccurrenceEngineTest, MonthlyIsNeverMovedToAnotherDay)
{
    Today(2024, 3, 25);
    const auto on31 = Deadline(QStringLiteral("2024-01-31 00:00:00"), QStringLiteral("3"));
    GenerateEvents(40);   // to 4 May: April has no 31st
    EXPECT_EQ(Days(on31), Midnights({"2024-03-31"}));

    Today(2024, 1, 25);
    const auto on30 = Deadline(QStringLiteral("2023-12-30 00:00:00"), QStringLiteral("3"));
    const auto on29 = Deadline(QStringLiteral("2023-12-29 00:00:00"), QStringLiteral("3"));
    GenerateEvents(40);   // to 5 March 2024, over a leap February
    EXPECT_EQ(Days(on30), Midnights({"2024-01-30"}));
    EXPECT_EQ(Days(on29), Midnights({"2024-01-29", "2024-02-29"}));

    Today(2023, 1, 25);
    const auto on29early = Deadline(QStringLiteral("2022-06-29 00:00:00"), QStringLiteral("3"));
    GenerateEvents(40);   // over February 2023, which has no 29th
    EXPECT_EQ(Days(on29early), Midnights({"2023-01-29"}));
}

TEST_F(OccurrenceEngineTest, YearlyOnTheTwentyNinthOfFebruaryOnlyInLeapYears)
{
    const auto leap = Deadline(QStringLiteral("2020-02-29 00:00:00"), QStringLiteral("4"));
    const auto christmas = Deadline(QStringLiteral("2019-12-25 00:00:00"), QStringLiteral("4"));
    Today(2024, 2, 20);
    GenerateEvents(20);
    EXPECT_EQ(Days(leap), Midnights({"2024-02-29"}));
    Today(2023, 2, 20);
    GenerateEvents(20);
    EXPECT_TRUE(Days(leap).isEmpty());
    Today(2023, 12, 20);
    GenerateEvents(400);
    EXPECT_EQ(Days(christmas), Midnights({"2023-12-25", "2024-12-25"}));
}

TEST_F(OccurrenceEngineTest, WorkingDaysSkipWeekends)
{
    Today(2024, 3, 1);   // a Friday
    const auto working = Deadline(QStringLiteral("2024-01-01 00:00:00"), QStringLiteral("5"));
    GenerateEvents(6);
    EXPECT_EQ(Days(working), Midnights({"2024-03-01", "2024-03-04", "2024-03-05", "2024-03-06", "2024-03-07"}));
}

TEST_F(OccurrenceEngineTest, UnknownCodesGiveNothing)
{
    Today(2024, 3, 1);
    Deadline(QStringLiteral("2024-01-01 00:00:00"), QStringLiteral("6"));
    Deadline(QStringLiteral("2024-01-01 00:00:00"), QStringLiteral("Null"));
    Deadline(QStringLiteral("2024-01-01 00:00:00"), QStringLiteral("'abc'"));
    Deadline(QStringLiteral("2024-01-01 00:00:00"), QStringLiteral("2.5"));
    GenerateEvents(30);
    EXPECT_EQ(EventCount(), 0);
}

TEST_F(OccurrenceEngineTest, StartsWrittenOtherwiseAreReadOrLeftOut)
{
    Today(2024, 3, 1);
    const auto typed = Deadline(QStringLiteral("04/03/2024"), QStringLiteral("2"));   // a Monday, typed the Italian way
    const auto noSeconds = Deadline(QStringLiteral("2024-03-02 00:00"), QStringLiteral("3"));
    GenerateEvents(7);
    EXPECT_EQ(Days(typed), Midnights({"2024-03-04"}));
    EXPECT_EQ(Days(noSeconds), Midnights({"2024-03-02"}));
    EXPECT_TRUE(LeftOutDeadlines().empty());

    // What is no date, or no code, is left out; the others are counted all the same.
    gDbExecute(QStringLiteral("insert into pagamenti (anagraficaid, datapagamento, importo, causale) values "
                              "(1, '2024-02-30 00:00:00', 1, 'Trenta febbraio'), (1, Null, 2, '  '), "
                              "(Null, 'domani', 0, 'A parole'), (1, '2024-01-01 00:00:00', 'ogni tanto', 'Codice a parole'), "
                              "(1, '10000-01-01 00:00:00', 4, 'Anno lontano'), (1, '0000-01-01 00:00:00', 5, 'Anno zero'), "
                              // A Null code or one outside the rules asks for nothing: its date is never read.
                              "(1, Null, Null, 'Senza codice'), (1, 'mai', 6, 'Codice sei')"));
    GenerateEvents(7);
    EXPECT_EQ(Days(typed), Midnights({"2024-03-04"}));
    EXPECT_EQ(Days(noSeconds), Midnights({"2024-03-02"}));
    EXPECT_EQ(EventCount(), 2);
    std::vector<std::pair<QString, QString>> leftOut;
    for (const LeftOutDeadline& d : LeftOutDeadlines())
        leftOut.emplace_back(d.description, d.contact);
    EXPECT_EQ(leftOut, (std::vector<std::pair<QString, QString>>{{QStringLiteral("Trenta febbraio"), QStringLiteral("Rossi Mario")},
                                                                 {QString(), QStringLiteral("Rossi Mario")},
                                                                 {QStringLiteral("A parole"), QString()},
                                                                 {QStringLiteral("Codice a parole"), QStringLiteral("Rossi Mario")},
                                                                 {QStringLiteral("Anno lontano"), QStringLiteral("Rossi Mario")},
                                                                 {QStringLiteral("Anno zero"), QStringLiteral("Rossi Mario")}}));

    // A generator called on its own still refuses a start that is no date.
    try {
        GenerateDaily(Variant(QStringLiteral("2024-02-30 00:00:00")), Variant(1), 7);
        FAIL() << "an impossible start";
    } catch (const platform::VbError& e) {
        EXPECT_EQ(e.Number, platform::Err::TypeMismatch);
    }
}

TEST_F(OccurrenceEngineTest, RecurrenceNames)
{
    const char* names[] = {"Una sola volta", "Ogni giorno", "Ogni settimana", "Ogni mese", "Ogni anno", "Ogni giorno lavorativo"};
    for (int code = 0; code <= 5; ++code)
        EXPECT_EQ(RecurrenceName(Variant(code)), QString::fromUtf8(names[code]));
    EXPECT_EQ(RecurrenceName(Variant(QStringLiteral("3"))), QStringLiteral("Ogni mese"));
    EXPECT_EQ(RecurrenceName(Variant(6)), QString());
    EXPECT_EQ(RecurrenceName(Variant(-1)), QString());
    try {
        RecurrenceName(Variant());
        FAIL() << "Null has no name";
    } catch (const platform::VbError& e) {
        EXPECT_EQ(e.Number, platform::Err::InvalidUseOfNull);
    }
    try {
        RecurrenceName(Variant(QStringLiteral("abc")));
        FAIL() << "text has no name";
    } catch (const platform::VbError& e) {
        EXPECT_EQ(e.Number, platform::Err::TypeMismatch);
    }
}

TEST_F(OccurrenceEngineTest, HorizonSettingIsReadAsTheUserTypedIt)
{
    Today(2024, 3, 1);
    Deadline(QStringLiteral("2024-01-01 00:00:00"), QStringLiteral("1"));
    gDbExecute(QStringLiteral("update settings set value=' 10 ' where mnemocode='ORIZTEMP'"));
    RefreshUpcomingDeadlines();
    EXPECT_EQ(UpcomingCount(), 11);
    EXPECT_EQ(EventCount(), 11);

    gDbExecute(QStringLiteral("update settings set value='abc' where mnemocode='ORIZTEMP'"));
    try {
        RefreshUpcomingDeadlines();
        FAIL() << "a horizon that is no number";
    } catch (const platform::VbError& e) {
        EXPECT_EQ(e.Number, platform::Err::TypeMismatch);
    }
    gDbExecute(QStringLiteral("update settings set value='40000' where mnemocode='ORIZTEMP'"));
    EXPECT_THROW(RefreshUpcomingDeadlines(), platform::VbError);
    EXPECT_EQ(UpcomingCount(), 11);
}

TEST_F(OccurrenceEngineTest, AFailedRunKeepsTheRowsOfTheLastGoodOne)
{
    Today(2024, 3, 1);
    for (int i = 0; i < 4; ++i)
        Deadline(QStringLiteral("2024-01-01 00:00:00"), QStringLiteral("1"));
    GenerateEvents(30);
    ASSERT_EQ(EventCount(), 124);
    const QStringList before = Rows(QStringLiteral("select idscadenza || ' ' || dataevento from memodb.eventi order by rowid"));
    // The database refuses a row in the middle of the next run, then one among the last few
    // rows, which go out after the others.
    const auto refuse = [&](const char* day) {
        gDbExecute(QStringLiteral("create temp trigger rifiuta before insert on memodb.eventi when new.dataevento='") +
                   QString::fromLatin1(day) + QStringLiteral(" 00:00:00' begin select raise(abort, 'rifiutata'); end"));
    };
    for (const char* day : {"2024-03-20", "2024-04-07"}) {
        refuse(day);
        try {
            GenerateEvents(37);
            FAIL() << "a refused row";
        } catch (const platform::VbError& e) {
            EXPECT_EQ(e.Description, QStringLiteral("rifiutata"));
        }
        EXPECT_EQ(Rows(QStringLiteral("select idscadenza || ' ' || dataevento from memodb.eventi order by rowid")), before);
        gDbExecute(QStringLiteral("drop trigger rifiuta"));
    }
    // Nothing of the failed runs is left pending on the connection, and the next run goes on.
    EXPECT_NO_THROW(gSqlLiteDb->Execute(QStringLiteral("begin")));
    EXPECT_NO_THROW(gSqlLiteDb->Execute(QStringLiteral("commit")));
    GenerateEvents(37);
    EXPECT_EQ(EventCount(), 152);
}

// Rows go out several to an INSERT: they must be the very rows, types and order included, that
// one INSERT per occurrence writes, also when the last INSERT is not full.
TEST_F(OccurrenceEngineTest, SeveralRowsPerInsertWriteWhatOneRowPerInsertWrites)
{
    Today(2024, 2, 20);
    const char* starts[][2] = {{"2024-01-01 00:00:00", "1"}, {"2024-02-21 00:00:00", "2"}, {"2023-05-29 00:00:00", "3"},
                               {"2020-02-29 00:00:00", "4"}, {"2024-02-26 10:00:00", "5"}, {"2024-03-01 00:00:00", "0"},
                               {"2023-12-31 00:00:00", "1"}, {"2024-02-20 00:00:00", "5"}};
    std::vector<std::pair<long long, int>> deadlines;
    for (const auto& [start, code] : starts)
        deadlines.emplace_back(Deadline(QString::fromLatin1(start), QString::fromLatin1(code)), QString::fromLatin1(code).toInt());
    gDbExecute(QStringLiteral("create table memodb.unoallavolta (idscadenza integer, dataevento date)"));
    // Windows of 3, 111 and 544 rows.
    for (const int horizon : {0, 30, 150}) {
        SCOPED_TRACE(horizon);
        GenerateEvents(horizon);
        gDbExecute(QStringLiteral("delete from memodb.unoallavolta"));
        const QDate from = EngineToday();
        for (const auto& [id, code] : deadlines) {
            const QString start = Rows(QStringLiteral("select datapagamento from pagamenti where pagamentiid=") + QString::number(id)).front();
            for (const QDate& d : OccurrenceDays(code, *ReadStoredStart(QStringView(start)), from, from.addDays(horizon)))
                gDbExecute(QStringLiteral("insert into memodb.unoallavolta (idscadenza,dataevento) values (") + QString::number(id) +
                           QStringLiteral(",'") + FormattaData(d) + QStringLiteral("')"));
        }
        const QString columns = QStringLiteral("select idscadenza || ' ' || typeof(idscadenza) || ' ' || dataevento || ' ' || "
                                               "typeof(dataevento) from memodb.");
        const QStringList oneByOne = Rows(columns + QStringLiteral("unoallavolta order by rowid"));
        EXPECT_NE(oneByOne.size() % 50, 0);
        EXPECT_EQ(Rows(columns + QStringLiteral("eventi order by rowid")), oneByOne);
    }
}

// An independent calendar: the rules worked out with <chrono> over many deadlines and windows.
TEST_F(OccurrenceEngineTest, ManyDeadlinesAgainstAnIndependentCalendar)
{
    using namespace std::chrono;
    struct Rule {
        long long id;
        sys_days start;
        bool midnight;
        int code;
    };
    std::mt19937 rng(20240229);
    std::uniform_int_distribution<int> dayPick(0, 4 * 365);
    std::uniform_int_distribution<int> codePick(0, 5);
    std::uniform_int_distribution<int> timePick(0, 3);
    const sys_days base = sys_days{year{2022} / January / 1};
    std::vector<Rule> rules;
    for (int i = 0; i < 300; ++i) {
        const sys_days start = base + days{dayPick(rng)};
        const bool midnight = timePick(rng) != 0;
        const int code = codePick(rng);
        const year_month_day ymd{start};
        const QString text = QString::asprintf("%04d-%02u-%02u %s", static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
                                               static_cast<unsigned>(ymd.day()), midnight ? "00:00:00" : "10:30:00");
        rules.push_back({Deadline(text, QString::number(code)), start, midnight, code});
    }
    const std::pair<year_month_day, int> windows[] = {
        {year{2024} / February / 20, 45}, {year{2023} / December / 20, 20}, {year{2024} / December / 30, 400},
        {year{2023} / February / 25, 10}, {year{2025} / March / 31, 0}};
    for (const auto& [todayYmd, horizon] : windows) {
        Today(static_cast<int>(todayYmd.year()), static_cast<int>(static_cast<unsigned>(todayYmd.month())),
              static_cast<int>(static_cast<unsigned>(todayYmd.day())));
        GenerateEvents(horizon);
        std::multiset<std::pair<long long, QString>> expected;
        const sys_days today{todayYmd};
        for (const Rule& s : rules) {
            const year_month_day sd{s.start};
            for (int i = 0; i <= horizon; ++i) {
                const sys_days d = today + days{i};
                const year_month_day dd{d};
                const bool started = s.midnight ? d >= s.start : d > s.start;
                const unsigned wd = weekday{d}.c_encoding();   // 0 = Sunday
                bool hit = false;
                switch (s.code) {
                case 0: hit = s.midnight && d == s.start; break;
                case 1: hit = started; break;
                case 2: hit = started && wd == weekday{s.start}.c_encoding(); break;
                case 3: hit = started && dd.day() == sd.day(); break;
                case 4: hit = started && dd.day() == sd.day() && dd.month() == sd.month(); break;
                case 5: hit = started && wd != 0 && wd != 6; break;
                }
                if (hit)
                    expected.insert({s.id, QString::asprintf("%04d-%02u-%02u 00:00:00", static_cast<int>(dd.year()),
                                                             static_cast<unsigned>(dd.month()), static_cast<unsigned>(dd.day()))});
            }
        }
        std::multiset<std::pair<long long, QString>> actual;
        auto rs = gSqlLiteDb->OpenRecordset(QStringLiteral("select idscadenza, dataevento from memodb.eventi"));
        while (!rs->EOF_()) {
            actual.insert({rs->Fields(0).Value().Text().toLongLong(), rs->Fields(1).Value().Text()});
            rs->MoveNext();
        }
        EXPECT_EQ(actual, expected) << "window from " << static_cast<int>(todayYmd.year()) << "-"
                                    << static_cast<unsigned>(todayYmd.month()) << "-" << static_cast<unsigned>(todayYmd.day())
                                    << " over " << horizon << " days";
    }
}

} // namespace
