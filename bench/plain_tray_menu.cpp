// The plain work beside the icon's menu of bench_icon_menu: Qt's own notification-area icon with
// a context menu of the same entries, and nothing else. "Esci" ends it.
#include <QApplication>
#include <QMenu>
#include <QStyle>
#include <QSystemTrayIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("PlainTrayMenu"));   // the class of its windows
    QApplication::setQuitOnLastWindowClosed(false);
    QMenu menu;
    menu.addAction(QStringLiteral("Apri"));
    menu.addAction(QStringLiteral("Visualizza prossime scadenze"));
    menu.addSeparator();
    QObject::connect(menu.addAction(QStringLiteral("Esci")), &QAction::triggered, &app, &QCoreApplication::quit);
    QSystemTrayIcon icon(QApplication::style()->standardIcon(QStyle::SP_FileDialogInfoView));
    icon.setContextMenu(&menu);
    icon.show();
    return app.exec();
}
