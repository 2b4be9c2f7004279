#pragma once
// Internal to the platform layer: the Qt model that shows a grid's cell store. Row 0 of the
// store is the header; the model's rows are the data rows.
#include <QAbstractTableModel>

namespace platform {

class FlexGrid;

class FlexGridModel : public QAbstractTableModel {
public:
    FlexGridModel(FlexGrid* g, QObject* parent) : QAbstractTableModel(parent), grid(g) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : shownRows; }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : shownCols; }

    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

    void resetTo(int rows, int cols);
    void refreshAll();

    FlexGrid* grid;
    int shownRows = 0;
    int shownCols = 0;
};

} // namespace platform
