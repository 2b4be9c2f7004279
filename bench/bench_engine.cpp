// The occurrence engine over 10,000 deadlines (the six rules mixed), beside the plain SQLite C
// API writing the same rows, in alternation; prints both medians and their ratio.
//
// The program: frmMain::RefreshUpcomingCount, the whole run behind a save (memodb.eventi
// emptied and filled, the count, the caption, the balloon).
// The floor: on the same connection, in one transaction, "delete from memodb.eventi"; the
// three columns the engine needs read with the C API from the same query; the same (id, day)
// rows, worked out beforehand, inserted with one prepared single-row INSERT each (the day text
// bound in place, without a copy); commit; the count.
// Targets: at most 0.6 x the floor at horizon 365, at most 1.1 x at horizon 30.
#include "BenchDeadlines.h"
#include "mainwindow/OccurrenceEngine.h"
#include "mainwindow/frmMain.h"
#include "platform/App.h"
#include "platform/Forms.h"
#include "platform/ScriptedMode.h"
#include "shared/basGeneral.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kDeadlines = 10000;

using Rows = std::vector<std::pair<long long, std::string>>;

sqlite3* handle() { return verbanto::gSqlLiteDb->handle(); }

void exec(const char* sql)
{
    char* error = nullptr;
    if (sqlite3_exec(handle(), sql, nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "bench_engine: %s: %s\n", sql, error ? error : "?");
        std::exit(1);
    }
}

sqlite3_stmt* prepare(const std::string& sql)
{
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(handle(), sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "bench_engine: %s\n", sqlite3_errmsg(handle()));
        std::exit(1);
    }
    return st;
}

long long countRows()
{
    sqlite3_stmt* st = prepare("select count(*) from memodb.eventi");
    sqlite3_step(st);
    const long long n = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return n;
}

Rows tableRows()
{
    Rows rows;
    sqlite3_stmt* st = prepare("select idscadenza, dataevento from memodb.eventi");
    while (sqlite3_step(st) == SQLITE_ROW)
        rows.emplace_back(sqlite3_column_int64(st, 0), reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
    sqlite3_finalize(st);
    return rows;
}

// The plain C API doing the engine's database work; gives the count.
long long floorRun(const Rows& rows, const std::string& today)
{
    exec("begin");
    exec("delete from memodb.eventi");
    sqlite3_stmt* read = prepare("select pagamentiid, datapagamento, importo from pagamenti where datapagamento>='" + today +
                                 "' or importo>0");
    long long sink = 0;
    while (sqlite3_step(read) == SQLITE_ROW) {
        sink += sqlite3_column_int64(read, 0) + sqlite3_column_int64(read, 2);
        sink += sqlite3_column_bytes(read, 1) + (sqlite3_column_text(read, 1) != nullptr);
    }
    sqlite3_finalize(read);
    sqlite3_stmt* insert = prepare("insert into memodb.eventi (idscadenza,dataevento) values (?,?)");
    for (const auto& [id, day] : rows) {
        sqlite3_bind_int64(insert, 1, id);
        sqlite3_bind_text(insert, 2, day.data(), static_cast<int>(day.size()), SQLITE_STATIC);
        if (sqlite3_step(insert) != SQLITE_DONE) {
            std::fprintf(stderr, "bench_engine: %s\n", sqlite3_errmsg(handle()));
            std::exit(1);
        }
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    exec("commit");
    return countRows() + (sink == -1 ? 1 : 0);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double seconds(const QElapsedTimer& t) { return t.nsecsElapsed() / 1e9; }

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));

    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    qputenv("XDG_CONFIG_HOME", (dir.path() + QStringLiteral("/config")).toUtf8());
    if (!bench::MakeDeadlineDatabase(dir.path() + QStringLiteral("/orvendale.db3"), kDeadlines))
        return 1;
    platform::App::setPath(dir.path());
    platform::Script::Enable();   // the balloon is recorded, nothing waits for a user

    auto& main = platform::Forms::Instance<verbanto::frmMain>();
    main.Load();
    if (!main.Loaded()) {
        std::fprintf(stderr, "bench_engine: the main window did not load\n");
        return 1;
    }
    const std::string today = verbanto::EngineToday().toString(QStringLiteral("yyyy-MM-dd")).toStdString();

    bool allMet = true;
    for (const int horizon : {30, 365}) {
        verbanto::gDbExecute(QStringLiteral("update settings set value='") + QString::number(horizon) +
                             QStringLiteral("' where mnemocode='ORIZTEMP'"));
        verbanto::frmMain::RefreshUpcomingCount();
        Rows rows = tableRows();
        const int rounds = horizon == 30 ? 15 : 7;
        std::vector<double> program, plain;
        long long programCount = 0, plainCount = 0;
        for (int i = 0; i < rounds; ++i) {
            QElapsedTimer t;
            t.start();
            verbanto::frmMain::RefreshUpcomingCount();
            program.push_back(seconds(t));
            programCount = verbanto::UpcomingCount();
            t.restart();
            plainCount = floorRun(rows, today);
            plain.push_back(seconds(t));
        }
        // The floor wrote the program's rows: one more run of the program must give them again.
        verbanto::frmMain::RefreshUpcomingCount();
        Rows again = tableRows();
        std::sort(rows.begin(), rows.end());
        std::sort(again.begin(), again.end());
        const double ratio = median(program) / median(plain);
        const double target = horizon == 30 ? 1.1 : 0.6;
        allMet = allMet && ratio <= target && rows == again && programCount == plainCount;
        std::printf("horizon %d, %d deadlines, %lld occurrences, median of %d: program %.4f s, plain SQLite %.4f s, ratio %.2f "
                    "[target <= %.1f]%s\n",
                    horizon, kDeadlines, programCount, rounds, median(program), median(plain), ratio, target,
                    rows == again && programCount == plainCount ? "" : "  ROWS DIFFER");
    }
    std::fflush(stdout);
    // The process ends here: the window is not closed, so no exit question is asked; the
    // temporary folder goes first, as nothing else will remove it.
    dir.remove();
    std::_Exit(allMet ? 0 : 1);
}
