#pragma once
// A fresh program database opened as the main window opens it, with helpers to put contacts,
// types and deadlines in it and to open the contact windows as the user does.
#include "contacts/frmAnagrafica.h"
#include "contacts/frmEditAnagrafica.h"
#include "contacts/frmSelectAnagrafica.h"
#include "contacts/frmTipologiaPersone.h"
#include "harness/TestEnv.h"
#include "platform/FlexGrid.h"
#include "platform/MsgBoxDialog.h"
#include "shared/basGeneral.h"
#include "shared/ModalWindows.h"
#include <QRegularExpression>

class ContactsTest : public VerbantoTest {
protected:
    void SetUp() override
    {
        VerbantoTest::SetUp();
        OpenProgramDb();
    }

    long long AddContact(const QString& surname, const QString& name = QString(), const QString& town = QString(),
                         int type = 0)
    {
        auto text = [](const QString& t) { return t.isEmpty() ? QStringLiteral("Null") : "'" + verbanto::Pad(t) + "'"; };
        Sql(QStringLiteral("insert into Anagrafica (TIPOLOGIAID, Cognome, Nome, Comune, NumeroTessera) values (%1, %2, %3, %4, 'T1')")
                .arg(type)
                .arg(text(surname), text(name), text(town)));
        return Scalar(QStringLiteral("select max(ANAGRAFICAID) from Anagrafica")).toLongLong();
    }
    void AddDeadline(long long contact, const QString& date = QStringLiteral("2030-01-15 00:00:00"))
    {
        Sql(QStringLiteral("insert into Pagamenti (ANAGRAFICAID, DataPagamento, Importo, Causale) values (%1, '%2', 0, 'Affitto')")
                .arg(contact)
                .arg(date));
    }
    long long AddType(const QString& name)
    {
        Sql(QStringLiteral("insert into TipologiaPersone (Tipologia, DateTimeCreated) values ('%1', '2024-01-01 10:00:00')").arg(verbanto::Pad(name)));
        return Scalar(QStringLiteral("select max(TIPOLOGIAID) from TipologiaPersone")).toLongLong();
    }

    // Opens the contact list and plays the user on it.
    void OnContactList(std::function<void(verbanto::frmAnagrafica&)> driver)
    {
        ExpectModal<verbanto::frmAnagrafica>(std::move(driver));
        verbanto::ShowModal<verbanto::frmAnagrafica>();
    }

    // The grid row showing the surname, -1 when none.
    static int RowOf(const platform::FlexGrid& g, const QString& surname)
    {
        for (int r = 1; r < g.Rows(); ++r)
            if (g.TextMatrix(r, 1) == surname)
                return r;
        return -1;
    }

    // A statement with its timestamp (the last date text in it) made comparable.
    static QString Stamped(QString sql)
    {
        static const QRegularExpression stamp(QStringLiteral("'\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d'"));
        QRegularExpressionMatch last;
        for (auto it = stamp.globalMatch(sql); it.hasNext();)
            last = it.next();
        if (last.hasMatch())
            sql.replace(last.capturedStart(), last.capturedLength(), QStringLiteral("'TS'"));
        return sql;
    }

    int Questions() const
    {
        int n = 0;
        for (const auto& m : Messages())
            n += m.style == platform::vbYesNo;
        return n;
    }
};
