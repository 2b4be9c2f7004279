// Opening the deadline list on 100,000 deadlines: the list query and the fill of the grid with
// the width rule (target: under 2 s).
#include "deadlines/frmPagamenti.h"
#include "platform/App.h"
#include "platform/ScriptedMode.h"
#include "platform/SqlLite.h"
#include "shared/basGeneral.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

using namespace verbanto;

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::Script::Enable();   // nothing of the desktop answers during the run

    constexpr int kDeadlines = 100000;
    QTemporaryDir dir;
    const QString db = dir.path() + QStringLiteral("/orvendale.db3");
    QString error;
    if (!platform::CreateDatabaseFile(db, platform::ReadTextFile(QStringLiteral(VERBANTO_SCHEMA)), &error)) {
        std::fprintf(stderr, "cannot create the database: %s\n", qPrintable(error));
        return 1;
    }
    {
        platform::SqlLiteConnection c;
        c.OpenDatabase(db, QString());
        c.Execute(QStringLiteral("begin"));
        auto contact = c.Prepare(QStringLiteral("insert into anagrafica (anagraficaid, tipologiaid, cognome, nome) values (?, 2, ?, ?)"));
        for (int i = 1; i <= 500; ++i) {
            contact->Bind(1, i);
            contact->Bind(2, QStringLiteral("Cognome%1").arg(i));
            contact->Bind(3, QStringLiteral("Nome%1").arg(i));
            contact->Run();
        }
        auto deadline = c.Prepare(QStringLiteral("insert into pagamenti (anagraficaid, datapagamento, importo, causale, notepagamento, "
                                                 "DateTimeCreated) values (?, ?, ?, ?, ?, '2024-01-01 10:00:00')"));
        const QDate first(2020, 1, 1);
        for (int i = 0; i < kDeadlines; ++i) {
            deadline->Bind(1, 1 + i % 500);
            deadline->Bind(2, first.addDays(i % 2000).toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00"));
            deadline->Bind(3, i % 6);
            deadline->Bind(4, QStringLiteral("Scadenza numero %1 dell'anno").arg(i));
            deadline->Bind(5, i % 3 ? platform::Variant(QStringLiteral("nota %1").arg(i)) : platform::Variant());
            deadline->Run();
        }
        c.Execute(QStringLiteral("commit"));
    }

    platform::App::setPath(dir.path());
    gDbType = QStringLiteral("SqlLite");
    OpenDb();

    frmPagamenti& list = platform::Forms::Instance<frmPagamenti>();
    QElapsedTimer timer;
    timer.start();
    list.Load();   // centring, set-up and the fill
    const qint64 openMs = timer.elapsed();
    timer.restart();
    list.ClearGrid();
    list.FillGrid();
    const qint64 refillMs = timer.elapsed();

    const int rows = list.MSFlexGrid1->Rows() - 1;
    std::printf("deadline list, %d deadlines: open %lld ms, clear and refill %lld ms (target < 2000 ms)\n", rows,
                static_cast<long long>(openMs), static_cast<long long>(refillMs));
    return rows == kDeadlines && openMs < 2000 ? 0 : 1;
}
