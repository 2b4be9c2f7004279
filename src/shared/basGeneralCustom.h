#pragma once
// Trace and log, settings and database updates, value helpers, date and amount sorts of a grid.
#include "platform/FlexGrid.h"
#include "platform/Variant.h"
#include <QString>

namespace verbanto {

extern QString gCurrentProc;
extern QString gLogStatus;

void traceProcedure(const QString& moduleOrForm, const QString& procedure);
void addToLog(const QString& text);

void AggiornaDatabase();
void AggiornaReportistica();
QString getSetting(const QString& key);
bool FileExists(const QString& path);

QString wrapbooleanchk(const platform::Variant& value);
QString Punto(const platform::Variant& value);
bool esisteRecord(const QString& table, const QString& field, const QString& value, const QString& kind,
                  const QString& excludedField = QString(), const QString& excludedValue = QString());
// esisteRecord for a check that guards a user action: a query that fails is raised to the
// caller, so that the action stops instead of going on unchecked.
bool RecordExists(const QString& table, const QString& field, const QString& value, const QString& kind,
                  const QString& excludedField = QString(), const QString& excludedValue = QString());
QString checkABICAB(const QString& code, const QString& label);


} // namespace verbanto
