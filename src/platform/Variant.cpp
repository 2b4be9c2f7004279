#include "platform/Variant.h"
#include "platform/Italian.h"
#include "platform/VbError.h"
#include <cmath>
#include <limits>

namespace platform {

namespace {
QString numberText(double d)
{
    if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15)
        return QString::number(static_cast<long long>(d));
    return QString::number(d, 'g', 15);
}

// Banker's rounding, as the platform's integer conversions do.
double roundHalfEven(double d) { return std::nearbyint(d); }
} // namespace

QString Variant::Text() const
{
    switch (v_.index()) {
    case 1: return QString::number(std::get<1>(v_));
    case 2: return numberText(std::get<2>(v_));
    case 3: return std::get<3>(v_);
    default: return QString();
    }
}

QString Variant::CStr() const
{
    if (IsNull())
        Err::Raise(Err::InvalidUseOfNull);
    return Text();
}

bool Variant::IsNumeric() const
{
    if (IsNumber())
        return true;
    if (IsText())
        return ParseNumber(std::get<3>(v_).trimmed()).has_value();
    return false;
}

double Variant::CDbl() const
{
    switch (v_.index()) {
    case 0: Err::Raise(Err::InvalidUseOfNull);
    case 1: return static_cast<double>(std::get<1>(v_));
    case 2: return std::get<2>(v_);
    default: {
        const QString t = std::get<3>(v_).trimmed();
        if (auto n = ParseNumber(t))
            return *n;
        if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || t.compare(QLatin1String("vero"), Qt::CaseInsensitive) == 0)
            return -1;
        if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 || t.compare(QLatin1String("falso"), Qt::CaseInsensitive) == 0)
            return 0;
        Err::Raise(Err::TypeMismatch);
    }
    }
}

std::int16_t Variant::CInt() const
{
    const double d = roundHalfEven(CDbl());
    if (d < std::numeric_limits<std::int16_t>::min() || d > std::numeric_limits<std::int16_t>::max())
        Err::Raise(Err::Overflow);
    return static_cast<std::int16_t>(d);
}

std::int32_t Variant::CLng() const
{
    const double d = roundHalfEven(CDbl());
    if (d < std::numeric_limits<std::int32_t>::min() || d > std::numeric_limits<std::int32_t>::max())
        Err::Raise(Err::Overflow);
    return static_cast<std::int32_t>(d);
}

} // namespace platform
