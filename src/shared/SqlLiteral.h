#pragma once
// The one place where a value becomes SQL text: every text, number and date that a statement
// carries is written by these functions.
#include <QDate>
#include <QDateTime>
#include <QString>

namespace verbanto {

// A text without its NUL characters. A text box shows nothing for them and SQLite would end the
// statement at the first one, so what is stored is what the user saw.
QString WithoutNul(const QString& text);
// The inside of a text literal: single quotes doubled, NUL characters dropped.
QString SqlEscape(const QString& text);
// 'text'
QString SqlText(const QString& text);
// 'text', or Null when nothing is left of it.
QString SqlTextOrNull(const QString& text);
// A number in the shortest form that SQL reads back as the same value, without an exponent:
// whole numbers without decimals ("12", "1234567890123456"), others with a point ("12.5");
// Null for no number.
QString SqlNumber(double value);
// 'YYYY-MM-DD 00:00:00', or Null when there is no date.
QString SqlDate(const QDate& date);
// 'YYYY-MM-DD HH:MM:SS'
QString SqlDateTime(const QDateTime& moment);
QString SqlNull();

} // namespace verbanto
