#include "shared/basGeneral.h"
#include "platform/App.h"
#include "platform/System.h"
#include "platform/UserAction.h"
#include "shared/basAggiornamentiDatabase.h"
#include "shared/basGeneralCustom.h"
#include "shared/basRegistering.h"
#include "shared/SqlLiteral.h"
#include "shared/TracedProcedure.h"
#include <QFile>
#include <cmath>

namespace verbanto {

using platform::Err::Raise;

QString gDbType;
std::unique_ptr<platform::SqlLiteConnection> gSqlLiteDb;
QString gDbFileName;
QString gDbPath;
std::unique_ptr<platform::Recordset> gRs;

namespace {
bool gReadOnly = false;
const QString kTitle = QStringLiteral("Gestione Verbanto");
} // namespace

bool gNewRecord = false;
QString gWherePagamenti;
QString gWhereAnagrafica;
QString gWhereTipologiaPersone;
QString gWhereMieiContiCorrenti;
QString gWhereAssegniEmessi;
QString gNomeDelContatto;
double gIdDelContatto = 0;
bool gTrapErrors = false;
double gLastMouseDownY = 0;
double gGridLeftCol = 0;
QString gSqlEventi;
bool gExiting = false;

QString ProgramFolder()
{
    QString folder = platform::App::Path();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

// ------------------------------------------------------------------ data access

void OpenDb()
{
    // Cheap once the connection is open: OpenSqlLiteDb returns at once.
    ModProc("basGeneral", "OpenDb", [&] {
        if (isSqlLite())
            OpenSqlLiteDb();
    });
}

bool DatabaseUnavailable() { return gSqlLiteDb && !gSqlLiteDb->IsOpen(); }

bool DatabaseReadOnly() { return gReadOnly; }

void OpenSqlLiteDb()
{
    traceProcedure(QStringLiteral("basGeneral"), QStringLiteral("OpenSqlLiteDb"));
    if (gSqlLiteDb)
        return;
    // Why the file is not taken: a cause for the user, or a failure to open it at all.
    QString cause;
    bool refused = false;
    try {
        gSqlLiteDb = std::make_unique<platform::SqlLiteConnection>();
        const QString folder = ProgramFolder();
        gDbFileName = QStringLiteral("orvendale.db3");
        gDbPath = folder + gDbFileName;
        gSqlLiteDb->OpenDatabase(gDbPath, QString());
        // Another program's file, or an empty one, is left exactly as it is.
        cause = SchemaProblem(*gSqlLiteDb, gDbFileName);
        if (cause.isEmpty()) {
            gReadOnly = gSqlLiteDb->CannotWrite();
            if (gReadOnly && gSqlLiteDb->Columns(QStringLiteral("settings")).isEmpty())
                cause = QStringLiteral("Il file ") + gDbFileName +
                        QStringLiteral(" è in sola lettura e non può essere preparato per il primo uso.");
        }
        refused = !cause.isEmpty();
    } catch (...) {
        refused = true;
        if (platform::UserAction::LockedDatabaseMet())
            cause = DatabaseInUse();
    }
    if (refused) {
        RefuseDatabase(cause);
        return;
    }
    if (gReadOnly)
        MyMsgBox(QStringLiteral("Il database ") + gDbFileName +
                     QStringLiteral(" è in sola lettura: i dati si possono consultare, ma le modifiche non verranno salvate."),
                 platform::vbExclamation, kTitle);
}

QString DatabaseInUse()
{
    return QStringLiteral("Il file ") + gDbFileName +
           QStringLiteral(" è in uso da un altro programma. Chiudere l'altro programma e riavviare Gestione Verbanto.");
}

void RefuseDatabase(const QString& cause)
{
    if (gSqlLiteDb)
        gSqlLiteDb->Close();
    gReadOnly = false;
    const QString prompt = QStringLiteral("Impossibile connettersi al database");
    MyMsgBox(cause.isEmpty() ? prompt : prompt + QStringLiteral("\r\n\r\n") + cause, platform::vbCritical, kTitle);
    for (platform::Form* f : platform::LoadedForms())
        if (f->Name == QStringLiteral("frmMain")) {
            f->Unload();
            break;
        }
}

void OpenMemoryDb()
{
    ModProc("basGeneral", "OpenMemoryDb", [&] { gDbExecute(QStringLiteral("attach database ':memory:' as memodb")); });
}

namespace {
platform::SqlLiteConnection& connection()
{
    if (!gSqlLiteDb)
        Raise(platform::Err::ObjectNotSet);
    return *gSqlLiteDb;
}
} // namespace

bool gRsOpen(const QString& sql)
{
    return ModProc("basGeneral", "gRsOpen", [&] {
        gRs = connection().OpenRecordset(sql);
        return true;
    });
}

void gRsRead(const QString& sql)
{
    traceProcedure(QStringLiteral("basGeneral"), QStringLiteral("gRsOpen"));
    gRs = connection().OpenRecordset(sql);
}

bool gDbExecute(const QString& sql)
{
    return ModProc("basGeneral", "gDbExecute", [&] {
        connection().Execute(sql);
        return true;
    });
}

void gDbWrite(const QStringList& statements)
{
    traceProcedure(QStringLiteral("basGeneral"), QStringLiteral("gDbExecute"));
    connection().ExecuteAll(statements);
}

void CloseDb()
{
    traceProcedure(QStringLiteral("basGeneral"), QStringLiteral("CloseDb"));
    if (!gRs)
        gRs = std::make_unique<platform::Recordset>();
    ResumeNext([&] { gRs->Close(); });
}

void ResetRs() { gRs = std::make_unique<platform::Recordset>(); }

// ------------------------------------------------------------------ SQL text

QString StringReplace(const QString& text, const QString& find, const QString& replacement)
{
    return ModProc("basGeneral", "StringReplace", [&] {
        QString s = text;
        if (find.isEmpty())
            return s;
        qsizetype p = s.indexOf(find, 0, Qt::CaseInsensitive);
        while (p >= 0) {
            s = s.left(p) + replacement + s.mid(p + find.size());
            p = s.indexOf(find, p + replacement.size(), Qt::CaseInsensitive);
        }
        return s;
    });
}

QString Pad(const QString& text)
{
    // Every quote replaced by two: StringReplace's work, done where every SQL literal is made.
    return ModProc("basGeneral", "Pad", [&] {
        return ModProc("basGeneral", "StringReplace", [&] { return SqlEscape(text); });
    });
}

QString PutTicksIn(QString& text)
{
    return ModProc("basGeneral", "PutTicksIn", [&] {
        QString s = text;
        s.replace(QLatin1Char(','), QStringLiteral(", "));
        s.replace(QStringLiteral("  "), QStringLiteral(" "));
        s.replace(QStringLiteral(", "), QStringLiteral("', '"));
        s = QLatin1Char('\'') + s + QLatin1Char('\'');
        text = s;
        return s;
    });
}

bool isBooleanField(const platform::Field& field)
{
    return ModProc("basGeneral", "isBooleanField", [&] {
        const QString n = field.Name();
        return n == QStringLiteral("SuPiazza") || n == QStringLiteral("GirataPiena") || n == QStringLiteral("Trasferibile") ||
               n == QStringLiteral("Sbarrato");
    });
}

// ------------------------------------------------------------------ form set-up

void CenterForm(platform::Form& form)
{
    ModProc("basGeneral", "CenterForm", [&] {
        const long top = std::lround(platform::Screen::Height() - form.Height()) / 2;
        const long left = std::lround(platform::Screen::Width() - form.Width()) / 2;
        form.Move(static_cast<double>(left), static_cast<double>(top));
    });
}

void DisattivaTabstop(const std::vector<platform::Control*>& controls)
{
    ModProc("basGeneral", "DisattivaTabstop", [&] {
        const std::vector<platform::Control*> all = controls;
        const QString icon = platform::App::IconPath();
        for (platform::Control* c : all)
            c->ApplyCommonSetUp(icon);
        static const std::pair<const char*, const char*> accelerators[] = {
            {"Stampa", "S&tampa"}, {"Esci", "E&sci"}, {"Elimina", "&Elimina"}, {"Aggiungi", "&Aggiungi"},
            {"Cerca", "&Cerca"}, {"Esporta CSV", "Espo&rta CSV"}, {"Versa", "&Versa"}, {"Ok", "&Ok"},
            {"Annulla", "A&nnulla"}, {"Reimposta", "&Reimposta"}};
        for (platform::Control* c : all) {
            auto* b = dynamic_cast<platform::Button*>(c);
            if (!b)
                continue;
            QString caption = b->Caption();
            for (const auto& [before, after] : accelerators)
                if (caption == QString::fromUtf8(before))
                    caption = QString::fromUtf8(after);
            b->setCaption(caption);
        }
    });
}

QString PutSpacesInLabels(const QString& text)
{
    return ModProc("basGeneral", "PutSpacesInLabels", [&] {
        auto capital = [](QChar c) { return c.unicode() >= 65 && c.unicode() <= 96; };
        QString out;
        out.reserve(text.size() + 4);
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (i > 0 && capital(c) && !capital(text.at(i - 1)))
                out += QLatin1Char(' ');
            out += c;
        }
        platform::Screen::setMousePointer(0);
        return out;
    });
}

// ------------------------------------------------------------------ browser and file copy

void LaunchBrowser(const QString& address, long /*hwnd*/)
{
    ModProc("basGeneral", "LaunchBrowser", [&] {
        if (address.isEmpty())
            return;
        const QString probe = ProgramFolder() + QStringLiteral("test.htm");
        {
            QFile f(probe);
            if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
                Raise(platform::Err::PathFileAccess);
            if (f.write("\"<HTML> <\\HTML>\"\r\n") < 0)
                Raise(platform::Err::PathFileAccess);
        }
        const QString browser = platform::Shell::FindBrowser(probe);
        if (browser.isEmpty())
            MyMsgBox(QStringLiteral("Could not find associated Browser"), platform::vbExclamation, QStringLiteral("Browser Not Found"));
        else if (!platform::Shell::Execute(browser, address))
            MyMsgBox(QStringLiteral("Unable to open Web Page."), platform::vbExclamation, QStringLiteral("Gestione Verbanto"));
        QFile::remove(probe);
    });
}

bool APIFileCopy(const QString& source, const QString& destination, bool failIfExists)
{
    return ModProc("basGeneral", "APIFileCopy", [&] { return platform::FileSys::Copy(source, destination, failIfExists); });
}

} // namespace verbanto
