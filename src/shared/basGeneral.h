#pragma once
// Data access, SQL text helpers, form set-up, browser and file copy, CSV export.
#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "platform/SqlLite.h"
#include <QString>
#include <memory>

namespace verbanto {

// Data access
extern QString gDbType;                                     // "SqlLite" once the main window loads
extern std::unique_ptr<platform::SqlLiteConnection> gSqlLiteDb;
extern QString gDbFileName;                                 // "orvendale.db3"
extern QString gDbPath;                                     // program folder + "/" + gDbFileName
extern std::unique_ptr<platform::Recordset> gRs;            // the one shared result set

void OpenDb();
void OpenSqlLiteDb();
void OpenMemoryDb();
// Each reports its own failure and then answers false, so that the caller can stop.
bool gRsOpen(const QString& sql);
// gRsOpen for a step of a user action: a refusal is raised to the caller, whose handler reports
// it once and goes no further.
void gRsRead(const QString& sql);
bool gDbExecute(const QString& sql);
// The statements that one user action writes: one transaction, so that either all of them take
// effect or, at the first refusal, none does. The refusal is raised to the caller: the handler
// of the action the user started reports it once, under its own name, and goes no further.
void gDbWrite(const QStringList& statements);
void CloseDb();
// True once the database could not be opened: the start stops there (the main window is unloaded).
bool DatabaseUnavailable();
// True when the open database cannot be written (the start has said so once).
bool DatabaseReadOnly();
// The start cannot use the database: lets the file go, says why once ("Impossibile connettersi
// al database", then the cause when there is one) and unloads the main window.
void RefuseDatabase(const QString& cause);
// The cause told when another program holds the file.
QString DatabaseInUse();
// Drops the reference held in gRs (a new, closed, empty result set takes its place).
void ResetRs();

// State the lists, editors and filters share
extern bool gNewRecord;
extern QString gWherePagamenti;
extern QString gWhereAnagrafica;
extern QString gWhereTipologiaPersone;
extern QString gWhereMieiContiCorrenti;
extern QString gWhereAssegniEmessi;
extern QString gNomeDelContatto;
extern double gIdDelContatto;
extern bool gTrapErrors;
extern double gLastMouseDownY;
extern double gGridLeftCol;
extern QString gSqlEventi;
extern bool gExiting;

// SQL text
QString StringReplace(const QString& text, const QString& find, const QString& replacement);
QString Pad(const QString& text);
QString PutTicksIn(QString& text);
bool isBooleanField(const platform::Field& field);

// Form set-up
void CenterForm(platform::Form& form);
void DisattivaTabstop(const std::vector<platform::Control*>& controls);
QString PutSpacesInLabels(const QString& text);

// Browser and file copy
void LaunchBrowser(const QString& address, long hwnd);
bool APIFileCopy(const QString& source, const QString& destination, bool failIfExists);

// The program's folder with its trailing separator.
QString ProgramFolder();

} // namespace verbanto
