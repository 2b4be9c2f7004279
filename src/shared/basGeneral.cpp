#include "shared/basGeneral.h"
#include "platform/App.h"
#include "platform/System.h"
#include "shared/Proc.h"
#include "shared/basGeneralCustom.h"
#include "shared/basRegistering.h"
#include <QFile>
#include <cmath>

namespace verbanto {

using platform::Err::Raise;

QString gDbType;
std::unique_ptr<platform::SqlLiteConnection> gSqlLiteDb;
QString gDbFileName;
QString gDbPath;
std::unique_ptr<platform::Recordset> gRs;
bool gLastDbExecuteFailed = false;
bool gLastRsOpenFailed = false;

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
    ModProc("basGeneral", "OpenDb", [&] {
        if (gSqlLiteDb && gSqlLiteDb->IsOpen())
            return;   // the common case: one pointer test
        if (isSqlLite())
            OpenSqlLiteDb();
    });
}

bool DatabaseUnavailable() { return gSqlLiteDb && !gSqlLiteDb->IsOpen(); }

void OpenSqlLiteDb()
{
    traceProcedure(QStringLiteral("basGeneral"), QStringLiteral("OpenSqlLiteDb"));
    if (gSqlLiteDb)
        return;
    try {
        gSqlLiteDb = std::make_unique<platform::SqlLiteConnection>();
        const QString folder = ProgramFolder();
        gDbFileName = QStringLiteral("orvendale.db3");
        gDbPath = folder + gDbFileName;
        gSqlLiteDb->OpenDatabase(gDbPath, QString());
    } catch (...) {
        MyMsgBox(QStringLiteral("Impossibile connettersi al database"), platform::vbCritical, QStringLiteral("Gestione Verbanto"));
        for (platform::Form* f : platform::LoadedForms())
            if (f->Name == QStringLiteral("frmMain")) {
                f->Unload();
                break;
            }
    }
}

void OpenMemoryDb()
{
    ModProc("basGeneral", "OpenMemoryDb", [&] { gDbExecute(QStringLiteral("attach database ':memory:' as memodb")); });
}

void gRsOpen(const QString& sql)
{
    gLastRsOpenFailed = true;
    ModProc("basGeneral", "gRsOpen", [&] {
        if (!gSqlLiteDb)
            Raise(platform::Err::ObjectNotSet);
        gRs = gSqlLiteDb->OpenRecordset(sql);
        gLastRsOpenFailed = false;
    });
}

void gDbExecute(const QString& sql)
{
    gLastDbExecuteFailed = true;
    ModProc("basGeneral", "gDbExecute", [&] {
        if (!gSqlLiteDb)
            Raise(platform::Err::ObjectNotSet);
        gSqlLiteDb->Execute(sql);
        gLastDbExecuteFailed = false;
    });
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
    return ModProc("basGeneral", "Pad", [&] { return StringReplace(text, QStringLiteral("'"), QStringLiteral("''")); });
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
