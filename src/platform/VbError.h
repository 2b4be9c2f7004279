#pragma once
// One error type for every failure the windows can meet: a number and a description,
// Visual-Basic numbers where the windows print them, SQLite's own for database failures.
#include <QString>
#include <stdexcept>

namespace platform {

class VbError : public std::runtime_error {
public:
    VbError(long number, const QString& description)
        : std::runtime_error(description.toStdString()), Number(number), Description(description) {}
    long Number;
    QString Description;
};

namespace Err {
constexpr long InvalidProcedureCall = 5;
constexpr long Overflow = 6;
constexpr long SubscriptOutOfRange = 9;
constexpr long TypeMismatch = 13;
constexpr long FileNotFound = 53;
constexpr long DiskFull = 61;
constexpr long PermissionDenied = 70;
constexpr long PathFileAccess = 75;
constexpr long PathNotFound = 76;
constexpr long ObjectNotSet = 91;
constexpr long InvalidUseOfNull = 94;
constexpr long ObjectClosed = 3704;
constexpr long EofOrBof = 3021;
constexpr long ItemNotFound = 3265;

[[noreturn]] void Raise(long number);                      // with the standard description
[[noreturn]] void Raise(long number, const QString& description);
QString Description(long number);
} // namespace Err

} // namespace platform
