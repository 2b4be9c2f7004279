#pragma once
// Italian conventions, whatever the machine's locale: "dd/mm/yyyy" dates, "1.234,50" numbers.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

namespace platform {

// A date as an Italian user types it (day first; "/", "-" or "." between; two- or four-digit
// year; an optional time "HH:MM[:SS]") or as stored text "YYYY-MM-DD[ HH:MM:SS]". The date and
// time as written, in universal time, so that every day reads, whatever the local clocks skip.
std::optional<QDateTime> ParseDateTime(const QString& text);
std::optional<QDate> ParseDate(const QString& text);
// A whole date typed into a date field: as above without a time, its digits alone, day first
// ("11122026", "111226"), or a day and month of the current year ("11/12").
std::optional<QDate> ParseTypedDate(const QString& text);

QString FormatShortDate(const QDate& d);          // "09/12/2026"
QString FormatTime(const QTime& t);               // "14:05:09"
QString FormatNumber(double v, int decimals);     // "1.234,50"
// Parses a number typed the Italian way ("1.234,50", "12,5") or plainly ("12.5" when no comma).
std::optional<double> ParseNumber(const QString& text);

// Days since 30 December 1899, as the platform's date serial.
double DateSerial(const QDate& d);

} // namespace platform
