#pragma once
// A program folder for the benchmarks: a database made from the schema holding one contact and
// a number of deadlines, the six rules mixed, starts from two years back to two months ahead
// (one-time deadlines mostly within the next month).
#include "platform/SqlLite.h"
#include <QDate>
#include <QString>
#include <cstdio>
#include <sqlite3.h>
#include <string>

namespace bench {

inline bool MakeDeadlineDatabase(const QString& dbFile, int deadlines)
{
    QString error;
    if (!platform::CreateDatabaseFile(dbFile, platform::ReadTextFile(QStringLiteral(VERBANTO_SCHEMA)), &error)) {
        std::fprintf(stderr, "cannot create the database: %s\n", qPrintable(error));
        return false;
    }
    sqlite3* db = nullptr;
    if (sqlite3_open(dbFile.toUtf8().constData(), &db) != SQLITE_OK)
        return false;
    sqlite3_exec(db, "begin; insert into anagrafica (anagraficaid, tipologiaid, cognome, nome) values (1, 2, 'Rossi', 'Mario')",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "insert into pagamenti (anagraficaid, datapagamento, importo, causale, notepagamento) "
                       "values (1, ?, ?, ?, 'nota')",
                       -1, &insert, nullptr);
    const QDate today = QDate::currentDate();
    for (int i = 0; i < deadlines; ++i) {
        const int code = i % 6;
        const int offset = code == 0 ? (i * 7919) % 45 - 5 : (i * 7919) % 790 - 730;
        const std::string start = today.addDays(offset).toString(QStringLiteral("yyyy-MM-dd 00:00:00")).toStdString();
        const std::string description = "Scadenza " + std::to_string(i);
        sqlite3_bind_text(insert, 1, start.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 2, code);
        sqlite3_bind_text(insert, 3, description.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    const bool ok = sqlite3_exec(db, "commit", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

} // namespace bench
