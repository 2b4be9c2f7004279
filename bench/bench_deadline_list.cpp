// The deadline list on 100,000 deadlines as whole processes: one child opens the list (window
// shown and filled) and exits, one does the same and exports the CSV, one does the plain SQLite
// C API work (the list's query, every row written as CSV text to a file). The driver runs them in
// alternation for several rounds and prints the medians of wall time and peak memory, and the
// ratios to the plain work (targets: at most 1.5 x the time, the list at most 60 MiB).
// "bench_deadline_list --beside OTHER" also runs the children of OTHER, the same benchmark built
// from other code, in the same rounds: two versions measured side by side.
#include "deadlines/frmPagamenti.h"
#include "platform/App.h"
#include "platform/ScriptedMode.h"
#include "platform/SqlLite.h"
#include "shared/basGeneral.h"
#include <QApplication>
#include <QDate>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <sqlite3.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace verbanto;

namespace {

constexpr int kDeadlines = 100000;
constexpr int kContacts = 500;
constexpr int kRounds = 9;

// The deadline list's own query, as the window runs it with no filter.
const char* const kListQuery =
    "SELECT  a.pagamentiID, b.cognome || ' ' || b.nome as Contatto, a.ANAGRAFICAID,  a.DataPagamento as DataScadenza, "
    "a.Causale as DescrizioneScadenza, a.Importo as Frequenza,  a.NotePagamento as NoteScadenza, a.DateTimeCreated as "
    "DataCreazione, a.DateTimeLastUpdated as DataUltimaModifica FROM pagamenti a, Anagrafica b WHERE a.ANAGRAFICAID = "
    "b.ANAGRAFICAID   order by a.PagamentiID  ";

bool exec(sqlite3* db, const char* sql)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK)
        return true;
    std::fprintf(stderr, "%s: %s\n", sql, sqlite3_errmsg(db));
    return false;
}

void bindText(sqlite3_stmt* st, int i, const std::string& s)
{
    sqlite3_bind_text(st, i, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
}

bool makeDatabase(const QString& file)
{
    QString error;
    if (!platform::CreateDatabaseFile(file, platform::ReadTextFile(QStringLiteral(VERBANTO_SCHEMA)), &error)) {
        std::fprintf(stderr, "cannot create the database: %s\n", qPrintable(error));
        return false;
    }
    sqlite3* db = nullptr;
    if (sqlite3_open(QFile::encodeName(file).constData(), &db) != SQLITE_OK)
        return false;
    bool ok = exec(db, "begin");
    sqlite3_stmt* contact = nullptr;
    sqlite3_prepare_v2(db, "insert into anagrafica (anagraficaid, tipologiaid, cognome, nome) values (?, 2, ?, ?)", -1,
                       &contact, nullptr);
    for (int i = 1; i <= kContacts; ++i) {
        sqlite3_bind_int(contact, 1, i);
        // Some names with accents, as Italian names have.
        bindText(contact, 2, (i % 10 ? "Cognome" : "Niccolò Città") + std::to_string(i));
        bindText(contact, 3, "Nome" + std::to_string(i));
        ok = ok && sqlite3_step(contact) == SQLITE_DONE;
        sqlite3_reset(contact);
    }
    sqlite3_finalize(contact);
    sqlite3_stmt* deadline = nullptr;
    sqlite3_prepare_v2(db,
                       "insert into pagamenti (anagraficaid, datapagamento, importo, causale, notepagamento, DateTimeCreated) "
                       "values (?, ?, ?, ?, ?, '2024-01-01 10:00:00')",
                       -1, &deadline, nullptr);
    const QDate first(2020, 1, 1);
    for (int i = 0; i < kDeadlines; ++i) {
        sqlite3_bind_int(deadline, 1, 1 + i % kContacts);
        bindText(deadline, 2, first.addDays(i % 2000).toString(QStringLiteral("yyyy-MM-dd")).toStdString() + " 00:00:00");
        sqlite3_bind_int(deadline, 3, i % 6);
        bindText(deadline, 4, "Scadenza numero " + std::to_string(i) + " dell'anno");
        if (i % 3)
            bindText(deadline, 5, (i % 7 ? "nota " : "nota \"più\" lunga, con virgolette ") + std::to_string(i));
        else
            sqlite3_bind_null(deadline, 5);
        ok = ok && sqlite3_step(deadline) == SQLITE_DONE;
        sqlite3_reset(deadline);
    }
    sqlite3_finalize(deadline);
    ok = ok && exec(db, "commit");
    sqlite3_close(db);
    return ok;
}

// --- the children --------------------------------------------------------------------------------

// The plain work: the query's rows as CSV text ("" around every field, ";" between, CRLF after).
int plainChild(const char* folder)
{
    const std::string dbFile = std::string(folder) + "/orvendale.db3";
    const std::string out = std::string(folder) + "/plain.csv";
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(dbFile.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        return 2;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, kListQuery, -1, &st, nullptr) != SQLITE_OK)
        return 3;
    FILE* f = std::fopen(out.c_str(), "wb");
    if (!f)
        return 4;
    const int cols = sqlite3_column_count(st);
    std::string line;
    auto field = [&](const char* v, int n) {
        line += '"';
        for (int k = 0; k < n; ++k) {
            if (v[k] == '"')
                line += '"';
            line += v[k];
        }
        line += '"';
    };
    for (int c = 0; c < cols; ++c) {
        if (c)
            line += ';';
        const char* name = sqlite3_column_name(st, c);
        field(name, static_cast<int>(std::strlen(name)));
    }
    line += "\r\n";
    int rows = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int c = 0; c < cols; ++c) {
            if (c)
                line += ';';
            field(reinterpret_cast<const char*>(sqlite3_column_text(st, c)), sqlite3_column_bytes(st, c));
        }
        line += "\r\n";
        if (line.size() > 60000) {
            std::fwrite(line.data(), 1, line.size(), f);
            line.clear();
        }
        ++rows;
    }
    std::fwrite(line.data(), 1, line.size(), f);
    std::fclose(f);
    sqlite3_finalize(st);
    sqlite3_close(db);
    return rows == kDeadlines ? 0 : 5;
}

// The program's work: the deadline list opened on the folder's database, shown, and with
// export its CSV written through the save dialog.
int listChild(int argc, char** argv, const char* folder, bool exportCsv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});   // Qt's notes on the platform
    QApplication app(argc, argv);
    platform::Script::Enable();   // the save dialog and the closing message answer from the script
    platform::App::setPath(QString::fromLocal8Bit(folder));
    gDbType = QStringLiteral("SqlLite");
    OpenDb();
    frmPagamenti& list = platform::Forms::Instance<frmPagamenti>();
    list.Show();
    platform::App::DoEvents();   // shown and painted
    if (list.MSFlexGrid1->Rows() - 1 != kDeadlines)
        return 5;
    if (exportCsv) {
        const QString out = QString::fromLocal8Bit(folder) + QStringLiteral("/list.csv");
        QFile::remove(out);   // no overwrite question
        platform::Script::AnswerSaveDialog(out);
        list.cmdEsportaDati_Click();
        if (QFileInfo(out).size() < kDeadlines * 50)
            return 6;
    }
    return 0;
}

// --- the driver ----------------------------------------------------------------------------------

struct Run {
    double seconds = 0;   // wall
    double cpu = 0;       // user + system
    double peakMiB = 0;
};

bool runChild(const char* exe, const char* mode, const char* folder, Run* run)
{
    const auto t0 = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        execl(exe, exe, mode, folder, static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return false;
    run->seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    run->cpu = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    run->peakMiB = usage.ru_maxrss / 1024.0;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "child %s %s failed (status %d)\n", exe, mode, status);
        return false;
    }
    return true;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Job {
    const char* label;
    const char* exe;
    const char* mode;
    std::vector<double> secs, cpu, mib;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "plain") == 0)
        return plainChild(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "list") == 0)
        return listChild(argc, argv, argv[2], false);
    if (argc == 3 && std::strcmp(argv[1], "csv") == 0)
        return listChild(argc, argv, argv[2], true);
    // The database alone, in a folder of one's own, for running a child under a profiler.
    if (argc == 3 && std::strcmp(argv[1], "make") == 0)
        return makeDatabase(QFile::decodeName(argv[2]) + QStringLiteral("/orvendale.db3")) ? 0 : 1;

    // "--beside EXE": the same benchmark built from other code runs its children in the same
    // rounds, so that two versions are measured side by side.
    std::vector<Job> jobs = {{"plain SQLite C API, query to CSV file", argv[0], "plain", {}, {}, {}},
                             {"deadline list shown and filled", argv[0], "list", {}, {}, {}},
                             {"deadline list and its CSV export", argv[0], "csv", {}, {}, {}}};
    if (argc == 3 && std::strcmp(argv[1], "--beside") == 0) {
        jobs.push_back({"  the same, other build: list", argv[2], "list", {}, {}, {}});
        jobs.push_back({"  the same, other build: CSV export", argv[2], "csv", {}, {}, {}});
    }

    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path());
    if (!makeDatabase(dir.path() + QStringLiteral("/orvendale.db3")))
        return 1;
    // One round first to warm the file cache; its figures are not counted.
    for (int round = 0; round <= kRounds; ++round)
        for (Job& job : jobs) {
            Run run;
            if (!runChild(job.exe, job.mode, folder.constData(), &run))
                return 1;
            if (round > 0) {
                job.secs.push_back(run.seconds);
                job.cpu.push_back(run.cpu);
                job.mib.push_back(run.peakMiB);
            }
        }
    const double plainWall = median(jobs[0].secs), plainCpu = median(jobs[0].cpu);
    std::printf("%d deadlines, whole processes, medians of %d rounds run in alternation\n", kDeadlines, kRounds);
    std::printf("(targets: list and CSV export at most 1.5 x the plain work, the list's peak at most 60 MiB)\n");
    std::printf("%-40s %8s %6s %8s %6s %9s\n", "", "wall s", "ratio", "cpu s", "ratio", "peak MiB");
    for (const Job& job : jobs)
        std::printf("%-40s %8.3f %6.2f %8.3f %6.2f %9.1f\n", job.label, median(job.secs), median(job.secs) / plainWall,
                    median(job.cpu), median(job.cpu) / plainCpu, median(job.mib));
    return 0;
}
