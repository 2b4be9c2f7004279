// Start-up to the count at 100,000 deadlines: the load of the main window (database, memodb,
// updates, icon, first run of the occurrence engine) until its command shows the count.
//
//   bench_startup [--against OTHER] [--runs N]
// makes the database once, then starts one process per measure, each in a fresh copy of the
// program folder: this program and, when given, another build of the same benchmark, in
// alternation. It prints the medians, side by side, and their ratio.
//   bench_startup --child FOLDER
// is one such process: it loads the main window on FOLDER and prints its time and caption.
//   bench_startup --make FOLDER
// only makes the database in FOLDER (to profile one start).
#include "BenchDeadlines.h"
#include "mainwindow/frmMain.h"
#include "platform/App.h"
#include "platform/Forms.h"
#include "platform/ScriptedMode.h"
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kDeadlines = 100000;

int child(int argc, char** argv, const QString& folder)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", (folder + QStringLiteral("/config")).toUtf8());
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    platform::App::setPath(folder);
    platform::Script::Enable();   // the balloon and any message are recorded, nothing waits
    auto& main = platform::Forms::Instance<verbanto::frmMain>();
    QElapsedTimer t;
    t.start();
    main.Load();
    const double seconds = t.nsecsElapsed() / 1e9;
    if (!main.Loaded())
        return 1;
    std::printf("%.6f %s\n", seconds, qPrintable(main.cmdVisualizaScadenze->Caption()));
    std::fflush(stdout);
    std::_Exit(0);   // no exit question
}

struct Measure {
    double load = 0;      // the main window's load, inside the process
    double process = 0;   // the whole process, from its start to its end
    QString caption;
};

bool measure(const QString& program, const QString& dbFile, Measure* m)
{
    QTemporaryDir folder;
    if (!folder.isValid() || !QFile::copy(dbFile, folder.path() + QStringLiteral("/orvendale.db3")))
        return false;
    QProcess p;
    QElapsedTimer t;
    t.start();
    p.start(program, {QStringLiteral("--child"), folder.path()});
    if (!p.waitForFinished(600000) || p.exitCode() != 0)
        return false;
    m->process = t.nsecsElapsed() / 1e9;
    const QString out = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    const qsizetype blank = out.indexOf(QLatin1Char(' '));
    m->load = out.left(blank).toDouble();
    m->caption = out.mid(blank + 1);
    return true;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QString against;
    int runs = 7;
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (a == QLatin1String("--child") && i + 1 < argc)
            return child(argc, argv, QString::fromLocal8Bit(argv[i + 1]));
        if (a == QLatin1String("--make") && i + 1 < argc) {
            QCoreApplication app(argc, argv);
            return bench::MakeDeadlineDatabase(QString::fromLocal8Bit(argv[i + 1]) + QStringLiteral("/orvendale.db3"), kDeadlines) ? 0 : 1;
        }
        if (a == QLatin1String("--against") && i + 1 < argc)
            against = QString::fromLocal8Bit(argv[++i]);
        else if (a == QLatin1String("--runs") && i + 1 < argc)
            runs = std::max(1, QString::fromLocal8Bit(argv[++i]).toInt());
    }
    QCoreApplication app(argc, argv);
    const QString self = QCoreApplication::applicationFilePath();

    QTemporaryDir dir;
    const QString dbFile = dir.path() + QStringLiteral("/orvendale.db3");
    if (!dir.isValid() || !bench::MakeDeadlineDatabase(dbFile, kDeadlines))
        return 1;

    std::vector<double> load, process, otherLoad, otherProcess;
    QString caption, otherCaption;
    for (int i = 0; i < runs; ++i) {
        Measure m;
        if (!measure(self, dbFile, &m)) {
            std::fprintf(stderr, "bench_startup: the start failed\n");
            return 1;
        }
        load.push_back(m.load);
        process.push_back(m.process);
        caption = m.caption;
        if (against.isEmpty())
            continue;
        if (!measure(against, dbFile, &m)) {
            std::fprintf(stderr, "bench_startup: the start of %s failed\n", qPrintable(against));
            return 1;
        }
        otherLoad.push_back(m.load);
        otherProcess.push_back(m.process);
        otherCaption = m.caption;
    }
    std::printf("start-up to the count, %d deadlines, median of %d: load %.3f s, whole process %.3f s, %s\n", kDeadlines, runs,
                median(load), median(process), qPrintable(caption));
    if (!against.isEmpty()) {
        std::printf("the other build (%s):      load %.3f s, whole process %.3f s, %s\n", qPrintable(against), median(otherLoad),
                    median(otherProcess), qPrintable(otherCaption));
        std::printf("ratio this / other: load %.2f, whole process %.2f [target load <= 0.5]%s\n", median(load) / median(otherLoad),
                    median(process) / median(otherProcess), caption == otherCaption ? "" : "  COUNTS DIFFER");
    }
    return 0;
}
