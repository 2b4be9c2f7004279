#pragma once
// The numbered database updates run at every start.
#include <QString>

namespace verbanto {

constexpr int MaxAggiornamenti = 30;
extern int gNumAggiornamenti;
QString AggiornamentoDatabase(int index);   // the statement at that index

void inizializzaAggiornamentiDatabase();
void aggiungiAggiornamentoDatabase(const QString& statement);

} // namespace verbanto
