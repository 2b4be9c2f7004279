#pragma once
// A program folder with three contacts, two own accounts and helpers to add cheques, open the
// cheque and account windows as a user would, and read the grid.
#include "cheques/frmAssegniEmessi.h"
#include "cheques/frmMieiContiCorrenti.h"
#include "harness/TestEnv.h"
#include "platform/FlexGrid.h"
#include "shared/basGeneral.h"
#include <QDate>
#include <QStringList>

class ChequeTest : public VerbantoTest {
protected:
    void SetUp() override
    {
        VerbantoTest::SetUp();
        OpenProgramDb();
        verbanto::gTrapErrors = true;
        // Ordered by surname then name, the payees read " Solo", "Bianchi Anna", "Rossi Mario".
        Sql(QStringLiteral("insert into anagrafica (anagraficaid, tipologiaid, cognome, nome) values (1, 2, 'Rossi', 'Mario')"));
        Sql(QStringLiteral("insert into anagrafica (anagraficaid, tipologiaid, cognome, nome) values (2, 3, 'Bianchi', 'Anna')"));
        Sql(QStringLiteral("insert into anagrafica (anagraficaid, tipologiaid, cognome, nome) values (3, 2, null, 'Solo')"));
        // Ordered by description: "Conto casa" (3), "Conto ufficio" (4).
        Sql(QStringLiteral("insert into MieiContiCorrenti values (4, 'Conto ufficio', 'Banca Alpina', '03069', '11111', "
                           "'2000/33', 'Studio Rossi', '2024-01-02 10:00:00', null)"));
        Sql(QStringLiteral("insert into MieiContiCorrenti values (3, 'Conto casa', 'Banca Centrale', '01234', '05678', "
                           "'1000/22', 'Mario Rossi', '2024-01-01 09:00:00', null)"));
    }

    // A cheque of the given account and payee; the marks as "SuPiazza, Trasferibile, Sbarrato".
    void Cheque(int account, int payee, const QString& number, const QString& amount, const QString& marks = QStringLiteral("0, 1, 0"),
                const QString& date = QStringLiteral("2024-03-15 00:00:00"), const QString& reason = QStringLiteral("null"))
    {
        Sql(QStringLiteral("insert into AssegniEmessi (CONTOCORRENTEID, ANAGRAFICAID, Numero, DataAssegno, LuogoEmissione, "
                           "SuPiazza, Trasferibile, Sbarrato, Importo, Causale, AssegnoNote, DateTimeCreated) values (") +
            QString::number(account) + QStringLiteral(", ") + QString::number(payee) + QStringLiteral(", '") + number +
            QStringLiteral("', '") + date + QStringLiteral("', 'Milano', ") + marks + QStringLiteral(", ") + amount +
            QStringLiteral(", ") + reason + QStringLiteral(", null, '2024-03-15 12:00:00')"));
    }

    void OpenCheques(std::function<void(verbanto::frmAssegniEmessi&)> driver)
    {
        ExpectModal<verbanto::frmAssegniEmessi>(std::move(driver));
        platform::Forms::Instance<verbanto::frmAssegniEmessi>().Show(platform::vbModal);
    }
    void OpenAccounts(std::function<void(verbanto::frmMieiContiCorrenti&)> driver)
    {
        ExpectModal<verbanto::frmMieiContiCorrenti>(std::move(driver));
        platform::Forms::Instance<verbanto::frmMieiContiCorrenti>().Show(platform::vbModal);
    }

    static QStringList Column(const platform::FlexGrid& g, int col)
    {
        QStringList out;
        for (int r = 1; r < g.Rows(); ++r)
            out << g.TextMatrix(r, col);
        return out;
    }
    static QStringList Headers(const platform::FlexGrid& g)
    {
        QStringList out;
        for (int c = 0; c < g.Cols(); ++c)
            out << g.TextMatrix(0, c);
        return out;
    }
    // The texts of the message boxes shown so far.
    QStringList MessageTexts() const
    {
        QStringList out;
        for (const auto& m : Messages())
            out << m.prompt;
        return out;
    }
    static QString Today() { return QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00"); }
};
