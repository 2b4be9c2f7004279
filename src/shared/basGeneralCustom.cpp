#include "shared/basGeneralCustom.h"
#include "platform/Italian.h"
#include "platform/System.h"
#include "shared/basAggiornamentiDatabase.h"
#include "shared/basGeneral.h"
#include "shared/basRegistering.h"
#include "shared/SqlLiteral.h"
#include "shared/TracedProcedure.h"
#include <QDateTime>
#include <QFile>

namespace verbanto {

QString gCurrentProc;
QString gLogStatus;

// ------------------------------------------------------------------ trace and log

void traceProcedure(const QString& moduleOrForm, const QString& procedure)
{
    gCurrentProc = moduleOrForm + QStringLiteral("::") + procedure;
    if (gLogStatus == QStringLiteral("ON"))
        addToLog(gCurrentProc);
}

namespace {
// Set by the first failure to write the log: the run goes on without it (the next start tries
// again), so that one unwritable file gives one report, not one per traced procedure.
bool gLogFailed = false;
} // namespace

void addToLog(const QString& text)
{
    if (gLogStatus != QStringLiteral("ON") || gLogFailed)
        return;
    try {
        QFile f(ProgramFolder() + QStringLiteral("brimtel3.log"));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
            platform::Err::Raise(platform::Err::PermissionDenied);
        const QDateTime now = QDateTime::currentDateTime();
        const QString line = QStringLiteral("[") + platform::FormatShortDate(now.date()) + QStringLiteral(" - ") +
                             platform::FormatTime(now.time()) + QStringLiteral("] ") + text + QStringLiteral("\r\n");
        const QByteArray bytes = line.toUtf8();
        if (f.write(bytes) != bytes.size() || !f.flush())
            platform::Err::Raise(platform::Err::DiskFull);
    } catch (...) {
        long n;
        QString d;
        CurrentError(&n, &d);
        gLogFailed = true;
        ShowStandardError(n, d, QStringLiteral("addToLog"), QStringLiteral("basGeneralCustom"), false);
    }
}

// ------------------------------------------------------------------ updates and settings

namespace {
// Runs one update statement. On a database where it ran before, its table or key is already
// there: that outcome is no failure and says nothing. Any other failure is reported as usual.
void runUpdate(const QString& sql)
{
    traceProcedure(QStringLiteral("basGeneral"), QStringLiteral("gDbExecute"));
    try {
        if (!gSqlLiteDb)
            platform::Err::Raise(platform::Err::ObjectNotSet);
        gSqlLiteDb->Execute(sql);
    } catch (const platform::VbError& e) {
        // Only a key already taken counts: a NOT NULL or CHECK refusal is a real failure.
        const bool alreadyThere =
            ((e.Number & 0xFF) == platform::SqlCode::Constraint && e.Description.startsWith(QStringLiteral("UNIQUE constraint failed"))) ||
            (e.Number == platform::SqlCode::Error && e.Description.contains(QStringLiteral("already exists")));
        // A file that cannot be written keeps what it has; the start has said so once.
        const bool readOnly = DatabaseReadOnly() && (e.Number & 0xFF) == platform::SqlCode::ReadOnly;
        if (!alreadyThere && !readOnly)
            ShowStandardError(e.Number, e.Description, QStringLiteral("gDbExecute"), QStringLiteral("basGeneral"), false);
    }
}
} // namespace

namespace {
// The first start on a file without settings: the updates go in together, so that a file that
// cannot take them all (a full disk) keeps nothing of them. True when that is settled, either
// way; false when they are to run one by one as at every start.
bool prepareForFirstUse()
{
    if (!gSqlLiteDb || DatabaseReadOnly())
        return false;
    try {
        if (!gSqlLiteDb->Columns(QStringLiteral("settings")).isEmpty())
            return false;
        QStringList updates;
        for (int i = 1; i <= gNumAggiornamenti; ++i)
            updates << AggiornamentoDatabase(i);
        gSqlLiteDb->ExecuteAll(updates);
        return true;
    } catch (const platform::VbError& e) {
        // Without its settings the program can do nothing right: better one clear word than a
        // report for every setting it then misses.
        switch (e.Number & 0xFF) {
        case platform::SqlCode::Full:
            RefuseDatabase(QStringLiteral("Il disco è pieno: il file ") + gDbFileName +
                           QStringLiteral(" non può essere preparato per il primo uso. Liberare spazio sul disco e riavviare il programma."));
            return true;
        case platform::SqlCode::Busy:
            RefuseDatabase(DatabaseInUse());
            return true;
        default:
            return false;   // each statement then tells its own failure
        }
    }
}
} // namespace

void AggiornaDatabase()
{
    ModProc("basGeneralCustom", "AggiornaDatabase", [&] {
        if (gNumAggiornamenti != 0)
            return;
        inizializzaAggiornamentiDatabase();
        OpenDb();
        if (!prepareForFirstUse())
            for (int i = 1; i <= gNumAggiornamenti; ++i)
                runUpdate(AggiornamentoDatabase(i));
        CloseDb();
    });
}

void AggiornaReportistica()
{
    ModProc("basGeneralCustom", "AggiornaReportistica", [&] {
        const QString path = ProgramFolder() + QStringLiteral("nuovireport.sql");
        if (!FileExists(path))
            return;
        OpenDb();
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            platform::Err::Raise(platform::Err::PathFileAccess);
        while (!f.atEnd()) {
            QByteArray line = f.readLine();
            while (line.endsWith('\n') || line.endsWith('\r'))
                line.chop(1);
            runUpdate(QString::fromUtf8(line));
        }
        f.close();
        CloseDb();
    });
}

QString getSetting(const QString& key)
{
    return ModProc("basGeneralCustom", "getSetting", [&] {
        OpenDb();
        const QString sql = QStringLiteral("select value from settings where mnemocode='") + key + QStringLiteral("'");
        ResetRs();
        gRsOpen(sql);
        QString result;
        if (!gRs->EOF_())
            result = gRs->Fields(QStringLiteral("value")).Value().CStr();
        CloseDb();
        return result;
    });
}

bool FileExists(const QString& path)
{
    try {
        return platform::FileSys::Exists(path);
    } catch (...) {
        return false;
    }
}

// ------------------------------------------------------------------ value helpers

QString wrapbooleanchk(const platform::Variant& value)
{
    return ModProc("basGeneralCustom", "wrapbooleanchk", [&] {
        const bool one = value.IsNumeric() && value.CDbl() == 1;
        return one ? QStringLiteral("True") : QStringLiteral("False");
    });
}

QString Punto(const platform::Variant& value)
{
    return ModProc("basGeneralCustom", "Punto", [&] {
        // A number keeps all its digits; a typed text gets its decimal commas turned into points.
        if (value.IsNumber())
            return SqlNumber(value.CDbl());
        QString s = value.CStr();
        s.replace(QLatin1Char(','), QLatin1Char('.'));
        return s;
    });
}

namespace {
QString existenceQuery(const QString& table, const QString& field, const QString& value, const QString& kind,
                       const QString& excludedField, const QString& excludedValue)
{
    QString sql = QStringLiteral("select count(*) as conteggio from ") + table + QStringLiteral(" where ") + field +
                  QStringLiteral(" = ") + (kind != QStringLiteral("N") ? SqlText(value) : value);
    if (!excludedField.isEmpty())
        sql += QStringLiteral("  and ") + excludedField + QStringLiteral(" <>") + excludedValue;
    return sql;
}

// The count of the query just run, the result set closed.
bool countAboveZero()
{
    const bool result = gRs->Fields(QStringLiteral("conteggio")).Value().CDbl() > 0;
    CloseDb();
    return result;
}
} // namespace

bool esisteRecord(const QString& table, const QString& field, const QString& value, const QString& kind,
                  const QString& excludedField, const QString& excludedValue)
{
    return ModProc("basGeneralCustom", "esisteRecord", [&] {
        OpenDb();
        ResetRs();
        gRsOpen(existenceQuery(table, field, value, kind, excludedField, excludedValue));
        return countAboveZero();
    });
}

bool RecordExists(const QString& table, const QString& field, const QString& value, const QString& kind,
                  const QString& excludedField, const QString& excludedValue)
{
    traceProcedure(QStringLiteral("basGeneralCustom"), QStringLiteral("esisteRecord"));
    OpenDb();
    ResetRs();
    gRsRead(existenceQuery(table, field, value, kind, excludedField, excludedValue));
    return countAboveZero();
}

QString checkABICAB(const QString& code, const QString& label)
{
    return ModProc("basGeneralCustom", "checkABICAB", [&] {
        if (code.size() != 5)
            return QStringLiteral("Lunghezza del codice ") + label + QStringLiteral(" non valida");
        for (const QChar c : code)
            if (c.unicode() < 48 || c.unicode() > 57)
                return QStringLiteral("Il codice ") + label + QStringLiteral(" contiene caratteri non validi");
        return QString();
    });
}

} // namespace verbanto
