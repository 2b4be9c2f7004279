#pragma once
// The numbered database updates run at every start.
#include "platform/SqlLite.h"
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace verbanto {

constexpr int MaxAggiornamenti = 30;
extern int gNumAggiornamenti;
QString AggiornamentoDatabase(int index);   // the statement at that index

void inizializzaAggiornamentiDatabase();
void aggiungiAggiornamentoDatabase(const QString& statement);

// The tables the program expects in its file, with their columns (nothing creates them), and
// the settings table's columns (the updates create it where it is missing).
const std::vector<std::pair<QString, QStringList>>& ExpectedTables();
const QStringList& SettingsColumns();
// Why an open file cannot be taken as the program's database (a text for the user, naming
// the file), or "" when it can. Reads only.
QString SchemaProblem(platform::SqlLiteConnection& db, const QString& fileName);

} // namespace verbanto
