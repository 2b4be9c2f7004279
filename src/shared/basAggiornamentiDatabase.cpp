#include "shared/basAggiornamentiDatabase.h"
#include "shared/Proc.h"
#include <array>

namespace verbanto {

int gNumAggiornamenti = 0;

namespace {
std::array<QString, MaxAggiornamenti + 1>& aggiornamenti()
{
    static std::array<QString, MaxAggiornamenti + 1> a;
    return a;
}
} // namespace

QString AggiornamentoDatabase(int index)
{
    if (index < 0 || index > MaxAggiornamenti)
        platform::Err::Raise(platform::Err::SubscriptOutOfRange);
    return aggiornamenti()[static_cast<size_t>(index)];
}

void aggiungiAggiornamentoDatabase(const QString& statement)
{
    ModProc("basAggiornamentiDatabase", "aggiungiAggiornamentoDatabase", [&] {
        if (gNumAggiornamenti + 1 > MaxAggiornamenti)
            platform::Err::Raise(platform::Err::SubscriptOutOfRange);
        ++gNumAggiornamenti;
        aggiornamenti()[static_cast<size_t>(gNumAggiornamenti)] = statement;
    });
}

void inizializzaAggiornamentiDatabase()
{
    ModProc("basAggiornamentiDatabase", "inizializzaAggiornamentiDatabase", [&] {
        gNumAggiornamenti = 0;
        aggiornamenti()[0] = QString();
        aggiungiAggiornamentoDatabase(QStringLiteral("create table settings (mnemocode text primary key, value text)"));
        aggiungiAggiornamentoDatabase(QStringLiteral("insert into settings (mnemocode,value) values ('INTESTAZ','Verbanto')"));
        aggiungiAggiornamentoDatabase(QStringLiteral("insert into settings (mnemocode,value) values ('PRTCSIZE','7')"));
        aggiungiAggiornamentoDatabase(QStringLiteral("insert into settings (mnemocode,value) values ('LOGSTATUS','OFF')"));
        aggiungiAggiornamentoDatabase(QStringLiteral("insert into settings (mnemocode,value) values ('ORIZTEMP','30')"));
        aggiungiAggiornamentoDatabase(QStringLiteral(
            "insert into settings (mnemocode,value) values ('SQLEVENTI',' e.DataEvento as DataScadenza, p.causale as "
            "DescrizioneScadenza, p.notepagamento as NoteScadenza, a.cognome as CognomeContatto, a.Nome as NomeContatto "
            "from memodb.eventi e, pagamenti p, anagrafica a where a.ANAGRAFICAID=p.ANAGRAFICAID and "
            "e.IDScadenza=p.pagamentiid order by datascadenza desc ')"));
    });
}

} // namespace verbanto
