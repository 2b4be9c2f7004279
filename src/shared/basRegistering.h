#pragma once
// Database kind, message box, SQL dialect helpers and registry access.
#include "platform/MsgBoxDialog.h"
#include "platform/System.h"
#include "platform/Variant.h"
#include <QDateTime>
#include <QString>

namespace verbanto {

bool isSqlLite();
bool isAccess();
bool isMySql();

// Every message, question and error report of the system passes through here.
int MyMsgBox(const QString& prompt, int style, const QString& title);

QString concatSql(const QString& a, const QString& b, const QString& c);
QString BooleanToString(const platform::Variant& value);
// "YYYY-MM-DD HH:MM:SS" of a date, or of a text that reads as a date.
QString FormattaData(const platform::Variant& value);
QString FormattaData(const QDateTime& value);
QString FormattaData(const QDate& value);

QString ReadRegistry(long root, const QString& path, const QString& name);
void WriteRegistry(long root, const QString& path, const QString& name, int type, const QString& data);
QString DeleteValue(long root, const QString& path, const QString& name);

} // namespace verbanto
