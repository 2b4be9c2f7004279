#pragma once
// A program folder with contacts (quotes and accents in their names), "today" fixed, and the
// main window started the way the program starts it; the deadline windows are driven from it.
#include "deadlines/frmEditPagamenti.h"
#include "deadlines/frmPagamenti.h"
#include "deadlines/frmSelectPagamenti.h"
#include "harness/TestEnv.h"
#include "mainwindow/OccurrenceEngine.h"
#include "mainwindow/frmMain.h"
#include "platform/App.h"
#include "platform/SysTrayIcon.h"
#include "shared/FilterMemory.h"
#include "shared/basGeneral.h"
#include <QDate>
#include <QStringList>

class DeadlinesTest : public VerbantoTest {
protected:
    static QDate Today() { return QDate(2024, 2, 25); }

    void SetUp() override
    {
        VerbantoTest::SetUp();
        platform::App::setCommandLine(QString());
        platform::SysTrayIcon::setAvailable(std::nullopt);
        verbanto::SetEngineClock([] { return Today(); });
        Sql(QStringLiteral("insert into TipologiaPersone (TIPOLOGIAID, Tipologia) values (2, 'Cliente')"));
        Sql(QStringLiteral("insert into anagrafica (anagraficaid, tipologiaid, cognome, nome) values (1, 2, 'Rossi', 'Mario')"));
        Sql(QStringLiteral("insert into anagrafica (anagraficaid, tipologiaid, cognome, nome) values (2, 2, 'D''Angelo', 'Niccolò')"));
        Sql(QStringLiteral("insert into anagrafica (anagraficaid, tipologiaid, cognome, nome) values (3, 2, 'Bianchi', 'Anna')"));
    }
    void TearDown() override
    {
        verbanto::SetEngineClock({});
        VerbantoTest::TearDown();
    }

    verbanto::frmMain& Main() { return platform::Forms::Instance<verbanto::frmMain>(); }
    void Start() { Main().Start(); }
    QString CountCaption() { return Main().cmdVisualizaScadenze->Caption(); }
    static QString Caption(int n) { return QStringLiteral("Visualizza Prossime Scadenze (") + QString::number(n) + QStringLiteral(")"); }

    // A deadline as the editor would store it; returns its id.
    long long Deadline(int contact, const QString& date, const QString& code, const QString& description,
                       const QString& notes = QStringLiteral("Null"))
    {
        Sql(QStringLiteral("insert into pagamenti (anagraficaid, datapagamento, importo, causale, notepagamento, DateTimeCreated) values (") +
            QString::number(contact) + QStringLiteral(", '") + date + QStringLiteral(" 00:00:00', ") + code + QStringLiteral(", ") +
            description + QStringLiteral(", ") + notes + QStringLiteral(", '2024-01-01 10:00:00')"));
        return Scalar(QStringLiteral("select max(pagamentiid) from pagamenti")).toLongLong();
    }

    // "&Gestione Scadenze" in the main window, with the user's actions on the list.
    void OpenList(std::function<void(verbanto::frmPagamenti&)> driver)
    {
        ExpectModal<verbanto::frmPagamenti>(std::move(driver));
        Main().cmdContiCorrenti->PerformClick();
    }

    // The grid's data rows as contact|date|description|recurrence|notes.
    static QStringList Rows(const verbanto::frmPagamenti& list)
    {
        QStringList rows;
        const auto& g = *list.MSFlexGrid1;
        for (int r = 1; r < g.Rows(); ++r) {
            QStringList cells;
            for (int c : {1, 3, 4, 5, 6})
                cells << g.TextMatrix(r, c);
            rows << cells.join(u'|');
        }
        return rows;
    }

    // The user picks a contact by its text in the editor's combo.
    static void PickContact(platform::ComboBox& combo, const QString& text)
    {
        for (int i = 0; i < combo.ListCount(); ++i)
            if (combo.List(i) == text) {
                combo.setListIndex(i);
                return;
            }
        ADD_FAILURE() << "no contact " << text.toStdString();
    }
};
