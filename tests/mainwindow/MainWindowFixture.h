#pragma once
// A program folder with one contact type and one contact, "today" fixed, and the main window
// started the way the program starts it.
#include "contacts/frmTipologiaPersone.h"
#include "harness/TestEnv.h"
#include "mainwindow/OccurrenceEngine.h"
#include "mainwindow/frmMain.h"
#include "platform/App.h"
#include "platform/SysTrayIcon.h"
#include <QDate>

class MainWindowTest : public VerbantoTest {
protected:
    static QDate Today() { return QDate(2024, 2, 25); }

    void SetUp() override
    {
        VerbantoTest::SetUp();
        platform::App::setCommandLine(QString());
        platform::SysTrayIcon::setAvailable(std::nullopt);
        verbanto::SetEngineClock([] { return Today(); });
        // A type exists, so loading the menu's host opens no editor.
        Sql(QStringLiteral("insert into TipologiaPersone (TIPOLOGIAID, Tipologia) values (2, 'Cliente')"));
        Sql(QStringLiteral("insert into anagrafica (anagraficaid, tipologiaid, cognome, nome) values (5, 2, 'Bianchi', 'Anna')"));
    }
    void TearDown() override
    {
        verbanto::SetEngineClock({});
        VerbantoTest::TearDown();
    }

    // A deadline of contact 5.
    void Deadline(const QDate& start, int code, const QString& description = QStringLiteral("Affitto"))
    {
        Sql(QStringLiteral("insert into pagamenti (anagraficaid, datapagamento, importo, causale, notepagamento) values (5, '") +
            start.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00', ") + QString::number(code) +
            QStringLiteral(", '") + description + QStringLiteral("', 'nota')"));
    }

    verbanto::frmMain& Main() { return platform::Forms::Instance<verbanto::frmMain>(); }
    verbanto::frmTipologiaPersone& Host() { return platform::Forms::Instance<verbanto::frmTipologiaPersone>(); }

    void Start(const QString& commandLine = QString())
    {
        platform::App::setCommandLine(commandLine);
        Main().Start();
    }

    QString CountCaption() { return Main().cmdVisualizaScadenze->Caption(); }

    static QString BalloonText(long long count)
    {
        return QStringLiteral("Le tue scadenze:\r\n\r\nHai ") + QString::number(count) +
               QStringLiteral(" prossime scadenze\r\n\r\nClicca su questo fumetto per visualizzare i dettagli");
    }

    // Whether the icon menu's two guarded items, and the menu itself, can be chosen.
    bool TwoItemsEnabled()
    {
        return Host().mnuVisProxScad->Enabled() && Host().mnuEsci->Enabled();
    }
};
