// Date order for a grid column that holds dates as text: each row's date as its day number,
// and the rows sorted on those numbers (3 earlier first, 4 later first; an empty cell counts
// as day 0, so it comes first or last). Times of day take no part.
#include "shared/basGeneralCustomSort.h"
#include "platform/Italian.h"
#include "shared/basGeneralCustom.h"
#include "shared/TracedProcedure.h"

#include <QHash>
#include <limits>
#include <vector>

namespace verbanto {

void sortGridByDate(platform::FlexGrid& grid, int column, int sortCode)
{
    ModProc("basGeneralCustom", "sortGridByDate", [&] {
        std::vector<double> days(static_cast<size_t>(grid.Rows()), 0.0);
        QHash<QString, double> known;   // a list repeats its dates
        for (int r = 1; r < grid.Rows(); ++r) {
            const QString text = grid.TextMatrix(r, column);
            if (text.trimmed().isEmpty())
                continue;
            if (auto it = known.constFind(text); it != known.constEnd()) {
                days[static_cast<size_t>(r)] = *it;
                continue;
            }
            // A cell that is no date stops the sort before anything moves.
            const std::optional<QDate> d = platform::ParseDate(text);
            if (!d)
                platform::Err::Raise(platform::Err::TypeMismatch);
            days[static_cast<size_t>(r)] = known[text] = platform::DateSerial(*d);
        }
        grid.SortByKeys(days, sortCode % 2 == 0);
        // The current column ends on the last column, where the sort key would have stood.
        grid.setCol(grid.Cols() - 1);
    });
}

void sortGridByAmount(platform::FlexGrid& grid, int column, int sortCode)
{
    ModProc("basGeneralCustom", "sortGridByAmount", [&] {
        // An empty cell (or one that holds no amount) comes before every amount, negative ones too.
        std::vector<double> values(static_cast<size_t>(grid.Rows()), -std::numeric_limits<double>::infinity());
        for (int r = 1; r < grid.Rows(); ++r) {
            QString text = grid.TextMatrix(r, column).trimmed();
            if (text.endsWith(QStringLiteral("€")))
                text.chop(1);
            if (const std::optional<double> v = platform::ParseNumber(text))
                values[static_cast<size_t>(r)] = *v;
        }
        grid.SortByKeys(values, sortCode % 2 == 0);
    });
}

} // namespace verbanto
