#pragma once
// The grid's compact cell store: rows of columns of text, row-major, kept as UTF-8 so that
// short texts stay inline and a fill of many rows costs little memory.
#include <QString>
#include <string>
#include <vector>

namespace platform {

class CellStore {
public:
    CellStore(int rows, int cols);

    int Rows() const { return rows_; }
    int Cols() const { return cols_; }
    const std::string& cell(int row, int col) const { return cells_[index(row, col)]; }
    QString Text(int row, int col) const;
    void setText(int row, int col, const QString& text);

    // Rows are added or cut at the end; columns at the right, each row keeping its texts.
    void setRows(int n);
    void setCols(int n);
    // Appends one row; texts past the last column are dropped, missing ones left empty.
    void AppendRow(const std::vector<QString>& cells);
    void RemoveRow(int row);
    void Clear();                                          // blanks every cell

    // The data rows (1 to Rows - 1) in sorted order, for the sort codes of the grid that compare
    // text: 1/2 generic (numbers as numbers, other text as text), 5/6 text without case,
    // 7/8 text with case; odd ascending, even descending. Rows of equal keys keep their order.
    std::vector<int> TextOrder(int col, int code) const;
    // One number per row from a column (keys[0] unused): text that is no number counts 0.
    std::vector<double> NumberKeys(int col) const;
    // The data rows ordered by one number per row (keys[row]); equal keys keep their order.
    std::vector<int> KeyOrder(const std::vector<double>& keys, bool descending) const;
    // Puts the data rows in the given order (row numbers 1 to Rows - 1); the header row stays.
    void Reorder(const std::vector<int>& order);

private:
    size_t index(int row, int col) const { return static_cast<size_t>(row) * cols_ + col; }
    int rows_;
    int cols_;
    std::vector<std::string> cells_;
};

} // namespace platform
