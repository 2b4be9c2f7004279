#include "platform/VbError.h"

namespace platform::Err {

QString Description(long number)
{
    switch (number) {
    case InvalidProcedureCall: return QStringLiteral("Invalid procedure call or argument");
    case Overflow: return QStringLiteral("Overflow");
    case SubscriptOutOfRange: return QStringLiteral("Subscript out of range");
    case TypeMismatch: return QStringLiteral("Type mismatch");
    case FileNotFound: return QStringLiteral("File not found");
    case DiskFull: return QStringLiteral("Disk full");
    case PermissionDenied: return QStringLiteral("Permission denied");
    case PathFileAccess: return QStringLiteral("Path/File access error");
    case PathNotFound: return QStringLiteral("Path not found");
    case ObjectNotSet: return QStringLiteral("Object variable or With block variable not set");
    case InvalidUseOfNull: return QStringLiteral("Invalid use of Null");
    case ObjectClosed: return QStringLiteral("Operation is not allowed when the object is closed.");
    case EofOrBof: return QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a current record.");
    case ItemNotFound: return QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal.");
    default: return QStringLiteral("Application-defined or object-defined error");
    }
}

void Raise(long number) { throw VbError(number, Description(number)); }
void Raise(long number, const QString& description) { throw VbError(number, description); }

} // namespace platform::Err
