#pragma once
// A value as the windows read it from a field or a control: Null, a whole number, a double or text,
// with the conversions (and their failures) the windows rely on.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <variant>

namespace platform {

class Variant {
public:
    Variant() = default;                       // Null
    Variant(std::nullptr_t) {}
    Variant(int v) : v_(static_cast<std::int64_t>(v)) {}
    Variant(long v) : v_(static_cast<std::int64_t>(v)) {}
    Variant(long long v) : v_(static_cast<std::int64_t>(v)) {}
    Variant(double v) : v_(v) {}
    Variant(bool v) : v_(static_cast<std::int64_t>(v ? -1 : 0)) {}
    Variant(const QString& s) : v_(s) {}
    Variant(const char* s) : v_(QString::fromUtf8(s)) {}

    bool IsNull() const { return v_.index() == 0; }
    bool IsNumber() const { return v_.index() == 1 || v_.index() == 2; }
    bool IsText() const { return v_.index() == 3; }

    // Text of the value; Null gives the empty text. Numbers as the database gives them (no grouping).
    QString Text() const;
    // The strict conversions: Null fails with 94, text that is no number with 13, range with 6.
    std::int16_t CInt() const;   // 16-bit, rounded halves to even
    std::int32_t CLng() const;   // 32-bit, rounded halves to even
    double CDbl() const;
    QString CStr() const;        // Null fails with 94

    // Whether the value reads as a number (IsNumeric).
    bool IsNumeric() const;

    bool operator==(const Variant& o) const { return v_ == o.v_; }

private:
    std::variant<std::monostate, std::int64_t, double, QString> v_;
};

} // namespace platform
