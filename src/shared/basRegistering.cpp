#include "shared/basRegistering.h"
#include "platform/Italian.h"
#include "shared/basGeneral.h"
#include "shared/TracedProcedure.h"
#include <cmath>
#include <memory>

namespace verbanto {

bool isSqlLite()
{
    return ModProc("basRegistering", "isSqlLite", [&] { return gDbType == QStringLiteral("SqlLite"); });
}
bool isAccess()
{
    return ModProc("basRegistering", "isAccess", [&] { return gDbType == QStringLiteral("Access"); });
}
bool isMySql()
{
    return ModProc("basRegistering", "isMySql", [&] { return gDbType == QStringLiteral("MySql"); });
}

int MyMsgBox(const QString& prompt, int style, const QString& title)
{
    static std::unique_ptr<platform::MsgBoxDialog> gBoxDialog;
    try {
        if (!gBoxDialog)
            gBoxDialog = std::make_unique<platform::MsgBoxDialog>();
        return gBoxDialog->MsgBox(prompt, style, title);
    } catch (...) {
        long n;
        QString d;
        CurrentError(&n, &d);
        platform::PlainMsgBox(StandardErrorText(n, d, QStringLiteral("MyMsgBox"), QStringLiteral("basRegistering"), false));
        return 0;
    }
}

QString concatSql(const QString& a, const QString& b, const QString& c)
{
    return ModProc("basRegistering", "concatSql", [&] {
        return QStringLiteral(" (ifnull(") + a + QStringLiteral(",'') || ifnull(") + b + QStringLiteral(",'') || ifnull(") + c +
               QStringLiteral(",'')) ");
    });
}

QString BooleanToString(const platform::Variant& value)
{
    return ModProc("basRegistering", "BooleanToString",
                   [&] { return value.CLng() != 0 ? QStringLiteral("Vero") : QStringLiteral("Falso"); });
}

QString FormattaData(const QDateTime& value)
{
    return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// The day alone, never a local midnight, which some days of some time zones do not have.
QString FormattaData(const QDate& value)
{
    return value.isValid() ? value.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00") : QString();
}

QString FormattaData(const platform::Variant& value)
{
    return ModProc("basRegistering", "FormattaData", [&] {
        if (value.IsNull())
            platform::Err::Raise(platform::Err::InvalidUseOfNull);
        if (value.IsNumber()) {
            const double serial = value.CDbl();
            const qint64 days = static_cast<qint64>(std::floor(serial));
            const qint64 secs = static_cast<qint64>(std::llround((serial - days) * 86400.0));
            return FormattaData(QDateTime(QDate(1899, 12, 30).addDays(days), QTime(0, 0, 0), Qt::UTC).addSecs(secs));
        }
        const auto dt = platform::ParseDateTime(value.Text());
        if (!dt)
            platform::Err::Raise(platform::Err::TypeMismatch);
        return FormattaData(*dt);
    });
}

QString ReadRegistry(long root, const QString& path, const QString& name)
{
    traceProcedure(QStringLiteral("basRegistering"), QStringLiteral("ReadRegistry"));
    QString data;
    int type = platform::REG_SZ;
    try {
        if (!platform::Registry::Read(root, path, name, &data, &type))
            return QStringLiteral("Not Found");
    } catch (...) {
        return QStringLiteral("Not Found");
    }
    if (data.size() >= 2048)
        return QStringLiteral("Not Found");
    if (type == platform::REG_DWORD)
        return QStringLiteral("%1").arg(data.toLong(), 3, 10, QLatin1Char('0')).left(3);
    return data;
}

void WriteRegistry(long root, const QString& path, const QString& name, int type, const QString& data)
{
    traceProcedure(QStringLiteral("basRegistering"), QStringLiteral("WriteRegistry"));
    ResumeNext([&] { platform::Registry::Write(root, path, name, type, data); });
}

QString DeleteValue(long root, const QString& path, const QString& name)
{
    traceProcedure(QStringLiteral("basRegistering"), QStringLiteral("DeleteValue"));
    ResumeNext([&] { platform::Registry::Delete(root, path, name); });
    return QString();
}

} // namespace verbanto
