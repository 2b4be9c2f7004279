#include "platform/FlexGridModel.h"
#include "platform/FlexGrid.h"

namespace platform {

QVariant FlexGridModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !grid)
        return {};
    const int r = index.row() + 1, c = index.column();
    if (r >= grid->Rows() || c >= grid->Cols())   // the store shrank; the reset is on its way
        return {};
    return grid->Cells().Text(r, c);
}

QVariant FlexGridModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o != Qt::Horizontal || !grid)
        return {};
    if (role == Qt::DisplayRole)
        return section < grid->Cols() ? grid->Cells().Text(0, section) : QString();
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

void FlexGridModel::resetTo(int rows, int cols)
{
    beginResetModel();
    shownRows = rows;
    shownCols = cols;
    endResetModel();
}

void FlexGridModel::refreshAll()
{
    if (shownCols > 0) {
        emit headerDataChanged(Qt::Horizontal, 0, shownCols - 1);
        if (shownRows > 0)
            emit dataChanged(index(0, 0), index(shownRows - 1, shownCols - 1), {Qt::DisplayRole});
    }
}

} // namespace platform
