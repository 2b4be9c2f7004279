#include "shared/basAggiornamentiDatabase.h"
#include "shared/TracedProcedure.h"
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

const std::vector<std::pair<QString, QStringList>>& ExpectedTables()
{
    static const std::vector<std::pair<QString, QStringList>> tables = {
        {QStringLiteral("TipologiaPersone"), {"TIPOLOGIAID", "Tipologia", "DateTimeCreated", "DateTimeLastUpdated"}},
        {QStringLiteral("Anagrafica"),
         {"ANAGRAFICAID", "TIPOLOGIAID", "Nome", "Cognome", "Indirizzo", "CAP", "Comune", "Provincia", "TelefonoCasa",
          "TelefonoUfficio", "Fax", "Cellulare", "CFIva", "Email", "SitoWeb", "NoteAnagrafica", "NumeroTessera", "DataNascita",
          "DataIscrizione", "DataScadenzaIscrizione", "DateTimeCreated", "DateTimeLastUpdated"}},
        {QStringLiteral("Pagamenti"),
         {"PagamentiID", "ANAGRAFICAID", "DataPagamento", "Importo", "Causale", "NotePagamento", "DateTimeCreated",
          "DateTimeLastUpdated"}},
        {QStringLiteral("Girate"), {"PagamentiID", "ANAGRAFICAID", "GirataPiena", "DataGirata", "DateTimeCreated", "notegirata"}},
        {QStringLiteral("Versamenti"), {"PagamentiID", "CONTOCORRENTEID", "DataVersamento", "noteversamento", "DateTimeCreated"}},
        {QStringLiteral("MieiContiCorrenti"),
         {"CONTOCORRENTEID", "Descrizione", "Banca", "ABI", "CAB", "NumeroConto", "Intestatari", "DateTimeCreated",
          "DateTimeLastUpdated"}},
        {QStringLiteral("AssegniEmessi"),
         {"ASSEGNIEMESSIID", "CONTOCORRENTEID", "ANAGRAFICAID", "Numero", "DataAssegno", "LuogoEmissione", "SuPiazza",
          "Trasferibile", "Sbarrato", "Importo", "Causale", "AssegnoNote", "DateTimeCreated", "DateTimeLastUpdated"}},
        {QStringLiteral("reportistica"),
         {"sqlreport", "titolo", "numparametri", "tipopar1", "tipopar2", "promptpar1", "promptpar2", "ordine"}},
    };
    return tables;
}

const QStringList& SettingsColumns()
{
    static const QStringList columns = {QStringLiteral("mnemocode"), QStringLiteral("value")};
    return columns;
}

QString SchemaProblem(platform::SqlLiteConnection& db, const QString& fileName)
{
    const QString notOurs = QStringLiteral("Il file ") + fileName + QStringLiteral(" non è un database di Gestione Verbanto: ");
    auto firstMissing = [](const QStringList& have, const QStringList& wanted) {
        for (const QString& column : wanted)
            if (!have.contains(column, Qt::CaseInsensitive))
                return column;
        return QString();
    };
    bool anyTable = false;
    QString missingTable;
    for (const auto& [table, columns] : ExpectedTables()) {
        const QStringList have = db.Columns(table);
        if (have.isEmpty()) {
            if (missingTable.isEmpty())
                missingTable = table;
            continue;
        }
        anyTable = true;
        if (const QString column = firstMissing(have, columns); !column.isEmpty())
            return notOurs + QStringLiteral("nella tabella ") + table + QStringLiteral(" manca la colonna ") + column + QStringLiteral(".");
    }
    if (!anyTable)
        return QStringLiteral("Il file ") + fileName + QStringLiteral(" è vuoto o non contiene le tabelle di Gestione Verbanto.");
    if (!missingTable.isEmpty())
        return notOurs + QStringLiteral("manca la tabella ") + missingTable + QStringLiteral(".");
    const QStringList settings = db.Columns(QStringLiteral("settings"));
    if (!settings.isEmpty())
        if (const QString column = firstMissing(settings, SettingsColumns()); !column.isEmpty())
            return notOurs + QStringLiteral("nella tabella settings manca la colonna ") + column + QStringLiteral(".");
    return QString();
}

} // namespace verbanto
