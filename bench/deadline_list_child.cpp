// The program's side of bench_deadline_list: "list FOLDER" opens the deadline list on the folder's
// database, shows it filled and exits; "csv FOLDER" does the same and exports the list as CSV
// through the save dialog into FOLDER/list.csv. The list must hold ROWS rows (the third argument).
#include "deadlines/frmPagamenti.h"
#include "platform/App.h"
#include "platform/ScriptedMode.h"
#include "shared/basGeneral.h"
#include <QApplication>
#include <QFile>
#include <cstdlib>
#include <cstring>

using namespace verbanto;

int main(int argc, char** argv)
{
    if (argc != 4 || (std::strcmp(argv[1], "list") != 0 && std::strcmp(argv[1], "csv") != 0))
        return 2;
    const bool exportCsv = std::strcmp(argv[1], "csv") == 0;
    const QString folder = QFile::decodeName(argv[2]);
    const int rows = std::atoi(argv[3]);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});   // Qt's notes on the platform
    QApplication app(argc, argv);
    platform::Script::Enable();   // the save dialog and the closing message answer from the script
    platform::App::setPath(folder);
    gDbType = QStringLiteral("SqlLite");
    OpenDb();
    frmPagamenti& list = platform::Forms::Instance<frmPagamenti>();
    list.Show();
    platform::App::DoEvents();   // shown and painted
    if (list.MSFlexGrid1->Rows() - 1 != rows)
        return 5;
    if (exportCsv) {
        const QString out = folder + QStringLiteral("/list.csv");
        QFile::remove(out);   // no overwrite question
        platform::Script::AnswerSaveDialog(out);
        list.cmdEsportaDati_Click();
        if (!QFile::exists(out))
            return 6;
    }
    return 0;
}
