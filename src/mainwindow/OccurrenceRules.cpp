#include "mainwindow/OccurrenceRules.h"
#include <QTime>

namespace verbanto {

std::vector<QDate> OccurrenceDays(int code, const DeadlineStart& start, const QDate& from, const QDate& to)
{
    std::vector<QDate> days;
    ForEachOccurrence(code, start, from, to, [&](int n) { days.push_back(from.addDays(n)); });
    return days;
}

namespace {

int unit(QChar c) { return c.unicode(); }
int unit(char c) { return static_cast<unsigned char>(c); }

// "YYYY-MM-DD HH:MM:SS", in UTF-16 or in UTF-8 (all of it ASCII).
template <class Text> std::optional<DeadlineStart> readStored(const Text& text)
{
    const auto at = [&](int i) { return unit(text[i]); };
    if (text.size() != 19 || at(4) != '-' || at(7) != '-' || at(10) != ' ' || at(13) != ':' || at(16) != ':')
        return std::nullopt;
    bool digits = true;
    const auto number = [&](int from, int length) {
        int v = 0;
        for (int i = from; i < from + length; ++i) {
            const int c = at(i);
            digits = digits && c >= '0' && c <= '9';
            v = v * 10 + (c - '0');
        }
        return v;
    };
    const QDate date(number(0, 4), number(5, 2), number(8, 2));
    const QTime time(number(11, 2), number(14, 2), number(17, 2));
    if (!digits || !date.isValid() || !time.isValid())
        return std::nullopt;
    return DeadlineStart{date, time == QTime(0, 0)};
}

} // namespace

std::optional<DeadlineStart> ReadStoredStart(QStringView text)
{
    return readStored(text);
}

std::optional<DeadlineStart> ReadStoredStart(QByteArrayView utf8)
{
    return readStored(utf8);
}

} // namespace verbanto
