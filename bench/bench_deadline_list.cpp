// The deadline list on 100,000 deadlines as whole processes: deadline_list_child opens the list
// (window shown and filled) and exits, or does the same and exports the CSV; plain_sqlite_csv does
// the plain SQLite C API work (the list's query, every row written as CSV text to a file). This
// driver runs each of the program's children right beside a plain run, the two in turn first,
// for many rounds, and prints the medians of wall time, CPU time and peak memory, and the
// medians of each pair's ratio to the plain work (targets: at most 1.5 x, the list's peak at
// most 60 MiB): a pair shares what else the machine is doing, so its ratio holds when the
// machine's load changes between rounds. It holds no Qt, so that a child's peak memory is its own: a forked child
// counts the pages it shared with the driver before its exec.
// "bench_deadline_list --beside OTHER_CHILD" also runs OTHER_CHILD, a deadline_list_child built
// from other code, in the same rounds: two versions measured side by side.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sqlite3.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kDeadlines = 100000;
constexpr int kContacts = 500;
constexpr int kRounds = 25;

// The deadline list's own query, as the window runs it with no filter.
const char* const kListQuery =
    "SELECT  a.pagamentiID, b.cognome || ' ' || b.nome as Contatto, a.ANAGRAFICAID,  a.DataPagamento as DataScadenza, "
    "a.Causale as DescrizioneScadenza, a.Importo as Frequenza,  a.NotePagamento as NoteScadenza, a.DateTimeCreated as "
    "DataCreazione, a.DateTimeLastUpdated as DataUltimaModifica FROM pagamenti a, Anagrafica b WHERE a.ANAGRAFICAID = "
    "b.ANAGRAFICAID   order by a.PagamentiID  ";

std::string readFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

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

std::string dayText(int daysAfter2020)
{
    using namespace std::chrono;
    const year_month_day d{sys_days{year{2020} / January / 1} + days{daysAfter2020}};
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02u 00:00:00", static_cast<int>(d.year()), static_cast<unsigned>(d.month()),
                  static_cast<unsigned>(d.day()));
    return buf;
}

bool makeDatabase(const std::string& file)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(file.c_str(), &db) != SQLITE_OK)
        return false;
    bool ok = exec(db, readFile(VERBANTO_SCHEMA).c_str()) && exec(db, "begin");
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
    for (int i = 0; i < kDeadlines; ++i) {
        sqlite3_bind_int(deadline, 1, 1 + i % kContacts);
        bindText(deadline, 2, dayText(i % 2000));
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

struct Run {
    double seconds = 0;   // wall
    double cpu = 0;       // user + system
    double peakMiB = 0;
};

bool runChild(const std::vector<std::string>& args, Run* run)
{
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const auto t0 = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        if (!freopen("/dev/null", "w", stdout))
            _exit(126);
        execv(argv[0], argv.data());
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
        std::fprintf(stderr, "%s %s failed (status %d)\n", args[0].c_str(), args[1].c_str(), status);
        return false;
    }
    return true;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

long lineCount(const std::string& file)
{
    const std::string text = readFile(file);
    long n = 0;
    for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2)
        ++n;
    return n;
}

struct Job {
    const char* label;
    std::vector<std::string> args;
    std::vector<double> secs, cpu, mib;
    std::vector<double> wallRatio, cpuRatio;   // to the plain run beside it
};

void keep(Job& job, const Run& run)
{
    job.secs.push_back(run.seconds);
    job.cpu.push_back(run.cpu);
    job.mib.push_back(run.peakMiB);
}

} // namespace

int main(int argc, char** argv)
{
    char folderTemplate[] = "/tmp/bench_deadline_list-XXXXXX";
    if (!mkdtemp(folderTemplate))
        return 1;
    const std::string folder = folderTemplate;
    struct Cleanup {
        std::string folder;
        ~Cleanup() { std::filesystem::remove_all(folder); }
    } cleanup{folder};
    if (!makeDatabase(folder + "/orvendale.db3"))
        return 1;

    const std::string self = argv[0];
    const std::string here = self.substr(0, self.rfind('/') + 1);
    const std::string rows = std::to_string(kDeadlines);
    std::vector<Job> jobs = {
        {"plain SQLite C API, query to CSV file", {here + "plain_sqlite_csv", folder + "/orvendale.db3", kListQuery, folder + "/plain.csv"}, {}, {}, {}, {}, {}},
        {"deadline list shown and filled", {here + "deadline_list_child", "list", folder, rows}, {}, {}, {}, {}, {}},
        {"deadline list and its CSV export", {here + "deadline_list_child", "csv", folder, rows}, {}, {}, {}, {}, {}}};
    if (argc == 3 && std::strcmp(argv[1], "--beside") == 0) {
        jobs.push_back({"  other build: list", {argv[2], "list", folder, rows}, {}, {}, {}, {}, {}});
        jobs.push_back({"  other build: CSV export", {argv[2], "csv", folder, rows}, {}, {}, {}, {}, {}});
    }

    // One round first to warm the file cache; its figures are not counted.
    Job& plain = jobs[0];
    for (int round = 0; round <= kRounds; ++round) {
        for (size_t j = 1; j < jobs.size(); ++j) {
            Job& job = jobs[j];
            Run plainRun, run;
            const bool plainFirst = (round + j) % 2 == 0;
            if (plainFirst && !runChild(plain.args, &plainRun))
                return 1;
            if (!runChild(job.args, &run))
                return 1;
            if (!plainFirst && !runChild(plain.args, &plainRun))
                return 1;
            if (round > 0) {
                keep(plain, plainRun);
                keep(job, run);
                job.wallRatio.push_back(run.seconds / plainRun.seconds);
                job.cpuRatio.push_back(run.cpu / plainRun.cpu);
            }
        }
        if (round == 0 && (lineCount(folder + "/plain.csv") != kDeadlines + 1 || lineCount(folder + "/list.csv") != kDeadlines + 1)) {
            std::fprintf(stderr, "the CSV files do not hold the header and %d rows\n", kDeadlines);
            return 1;
        }
    }
    std::printf("%d deadlines, whole processes, medians of %d rounds, each run beside a plain run\n", kDeadlines, kRounds);
    std::printf("(targets: list and CSV export at most 1.5 x the plain work, the list's peak at most 60 MiB)\n");
    std::printf("%-40s %8s %6s %8s %6s %9s\n", "", "wall s", "ratio", "cpu s", "ratio", "peak MiB");
    for (const Job& job : jobs)
        std::printf("%-40s %8.3f %6.2f %8.3f %6.2f %9.1f\n", job.label, median(job.secs),
                    job.wallRatio.empty() ? 1.0 : median(job.wallRatio), median(job.cpu),
                    job.cpuRatio.empty() ? 1.0 : median(job.cpuRatio), median(job.mib));
    return 0;
}
