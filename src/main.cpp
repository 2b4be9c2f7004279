// Gestione Verbanto: the program starts with the load of its main window and ends with its unload.
#include "mainwindow/frmMain.h"
#include "platform/App.h"
#include "platform/Forms.h"
#include "shared/basGeneral.h"
#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTranslator>
#include <QWidget>
#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::printf("No display found (neither DISPLAY nor WAYLAND_DISPLAY is set): running on Qt's offscreen platform.\n");
        std::fflush(stdout);
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    // The program lives on in its notification-area icon when no window is visible.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(QIcon(verbanto::frmMain::ProgramIcon()));
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    // Qt's own dialogs (save, input, print, preview) speak Italian whatever the machine's locale.
    QTranslator qtItalian;
    const QString translations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (qtItalian.load(QStringLiteral("qtbase_it"), translations))
        QCoreApplication::installTranslator(&qtItalian);
    else
        std::fprintf(stderr, "qtbase_it.qm not found in %s: Qt's dialogs stay in English.\n", qPrintable(translations));

    QStringList args = QCoreApplication::arguments();
    if (!args.isEmpty())
        args.removeFirst();
    platform::App::setCommandLine(args.join(QLatin1Char(' ')));

    auto& main = platform::Forms::Instance<verbanto::frmMain>();
    main.Start();
    // Without the main window the database could not be opened, unless the user chose to exit
    // while the start was still telling something.
    int rc = verbanto::gExiting ? 0 : 1;
    if (main.Loaded()) {
        QObject::connect(main.Window(), &QObject::destroyed, &app, [] { QCoreApplication::quit(); });
        rc = app.exec();
    }
    platform::Forms::ReleaseAll();
    // What went with deleteLater (the windows, the icon) goes now, before the application.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return rc;
}
