// The occurrence engine over 10,000 deadlines (the six rules mixed), and the start of the main
// window up to its count. Prints its figures; the targets are 0.3 s for a 30-day horizon and
// 1 s for the start.
#include "mainwindow/frmMain.h"
#include "mainwindow/OccurrenceEngine.h"
#include "platform/App.h"
#include "platform/Forms.h"
#include "platform/ScriptedMode.h"
#include "platform/SqlLite.h"
#include "shared/basGeneral.h"
#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QLocale>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kDeadlines = 10000;

void fillDeadlines(const QString& dbFile)
{
    platform::SqlLiteConnection db;
    db.OpenDatabase(dbFile, QString());
    db.Execute(QStringLiteral("begin"));
    db.Execute(QStringLiteral("insert into anagrafica (anagraficaid, tipologiaid, cognome, nome) values (1, 2, 'Rossi', 'Mario')"));
    auto insert = db.Prepare(QStringLiteral(
        "insert into pagamenti (anagraficaid, datapagamento, importo, causale, notepagamento) values (1, ?, ?, ?, 'nota')"));
    const QDate today = QDate::currentDate();
    for (int i = 0; i < kDeadlines; ++i) {
        // Starts from two years back to two months ahead; one-time deadlines mostly within a month.
        const int code = i % 6;
        const int offset = code == 0 ? (i * 7919) % 45 - 5 : (i * 7919) % 790 - 730;
        insert->Bind(1, today.addDays(offset).toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00"));
        insert->Bind(2, code);
        insert->Bind(3, QStringLiteral("Scadenza %1").arg(i));
        insert->Run();
    }
    db.Execute(QStringLiteral("commit"));
}

struct Run {
    double seconds;
    long long occurrences;
};

Run refresh(int horizon, int repeats)
{
    verbanto::gDbExecute(QStringLiteral("update settings set value='") + QString::number(horizon) +
                         QStringLiteral("' where mnemocode='ORIZTEMP'"));
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer t;
        t.start();
        verbanto::frmMain::RefreshUpcomingCount();   // the rows, the caption and the balloon
        times.push_back(t.nsecsElapsed() / 1e9);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], verbanto::UpcomingCount()};
}

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
    const QString dbFile = dir.path() + QStringLiteral("/orvendale.db3");
    QString error;
    if (!platform::CreateDatabaseFile(dbFile, platform::ReadTextFile(QStringLiteral(VERBANTO_SCHEMA)), &error)) {
        std::fprintf(stderr, "bench_engine: %s\n", qPrintable(error));
        return 1;
    }
    platform::App::setPath(dir.path());
    platform::Script::Enable();   // messages and the balloon are recorded, nothing waits for a user
    fillDeadlines(dbFile);

    QElapsedTimer start;
    start.start();
    auto& main = platform::Forms::Instance<verbanto::frmMain>();
    main.Load();
    const double startSeconds = start.nsecsElapsed() / 1e9;
    if (!main.Loaded()) {
        std::fprintf(stderr, "bench_engine: the main window did not load\n");
        return 1;
    }
    std::printf("start-up (main window load to its count), %d deadlines: %.3f s, %s [target < 1 s]\n", kDeadlines, startSeconds,
                qPrintable(main.cmdVisualizaScadenze->Caption()));

    for (const int horizon : {30, 365}) {
        const Run r = refresh(horizon, horizon == 30 ? 7 : 3);
        std::printf("RefreshUpcomingDeadlines, %d deadlines, horizon %d: %.3f s (median), %lld occurrences, %.0f occurrences/s%s\n",
                    kDeadlines, horizon, r.seconds, r.occurrences, r.occurrences / r.seconds,
                    horizon == 30 ? " [target < 0.3 s]" : "");
    }
    std::fflush(stdout);
    // The process ends here: the window is not closed, so no exit question is asked.
    std::_Exit(0);
}
