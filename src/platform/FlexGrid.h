#pragma once
// The flexible grid: rows and columns of cell text with one fixed header row (row 0),
// shown through a Qt model/view pair on a compact cell store.
#include "platform/FlexGridStore.h"
#include "platform/Forms.h"
#include <QString>
#include <functional>
#include <vector>

class QTableView;

namespace platform {

class FlexGridModel;
class FlexGridView;

constexpr int flexSortGenericAscending = 1;
constexpr int flexSortGenericDescending = 2;
constexpr int flexSortNumericAscending = 3;
constexpr int flexSortNumericDescending = 4;

class FlexGrid : public Control {
public:
    FlexGrid(Form& f, const QString& name, int index = -1);
    ~FlexGrid() override;

    int Rows() const { return cells_.Rows(); }
    void setRows(int n);
    int Cols() const { return cells_.Cols(); }
    void setCols(int n);

    QString TextMatrix(int row, int col) const;          // 9 when out of range
    void setTextMatrix(int row, int col, const QString& text);
    QString Text() const { return TextMatrix(row_, col_); }
    void setText(const QString& t) { setTextMatrix(row_, col_, t); }
    // Appends one row holding the tab-separated texts.
    void AddItem(const QString& tabSeparated);
    // Appends one row from the given cell texts (fast path of the fills).
    void AppendRow(const std::vector<QString>& cells);
    // The same from UTF-8 texts, as the database gives them.
    void AppendRow(const std::string_view* cells, size_t count);
    void RemoveItem(int row);
    void Clear();                                          // blanks every cell

    double ColWidth(int col) const;                        // twips; 0 = hidden
    void setColWidth(int col, double twips);
    double RowHeight(int row) const;                       // twips
    void setRowHeight(int row, double twips);              // row 0 the header; data rows share one height

    int Row() const { return row_; }
    void setRow(int r);
    int Col() const { return col_; }
    void setCol(int c);
    int RowSel() const { return rowSel_; }
    void setRowSel(int r);
    int ColSel() const { return colSel_; }
    void setColSel(int c);
    int TopRow() const;
    void setTopRow(int r);
    int LeftCol() const;
    void setLeftCol(int c);
    bool RowIsVisible(int r) const;
    // Sorts the data rows by the current column: 1/2 generic (numbers as numbers, other text
    // as text), 3/4 numeric (text that is no number counts 0), 5/6 text without case, 7/8 text
    // with case; odd ascending, even descending. Rows of equal keys keep their order.
    void Sort(int code);
    // Sorts the data rows by one number per row (keys[row]; keys[0] is not read), as Sort does with
    // a column of numbers, but without the column.
    void SortByKeys(const std::vector<double>& keys, bool descending);

    QFont Font() const;
    void setFont(const QFont& f);
    double TextWidth(const QString& text) const;           // in the grid's font, twips

    // Events, as the list windows handle them (x, y in twips from the grid's top left).
    std::function<void(int button, int shift, double x, double y)> MouseDown;
    std::function<void(int button, int shift, double x, double y)> MouseUp;
    std::function<void()> DblClick;
    std::function<void()> Click;
    std::function<void()> SelChange;
    std::function<void(int& keyCode, int shift)> KeyDown;

    // A user's gestures (also what the tests use).
    void UserClickCell(int row, int col);
    void UserClickHeader(int col);
    void UserDoubleClickCell(int row, int col);
    void UserDoubleClickHeader(int col);
    void UserPressKey(int vbKeyCode);

    // internal
    const CellStore& Cells() const { return cells_; }
    void sync() const;             // brings the view up to date with the store
    QTableView* view() const;
    // What the view reports of a user's mouse and keys (row -1 = below the last row).
    void viewPress(int row, int col, int button, int shift, double x, double y);
    void viewDrag(int row, int col);
    void viewRelease(int button, int shift, double x, double y);
    void viewDoubleClick(int button);
    void viewHeaderPress(int col, int button, int shift, double x, double y);
    bool viewKey(int vbKeyCode, int shift);   // false: the grid has no use for the key
    void viewScrolled(int topRow, int leftCol);
    void viewColumnResized(int col, double twips);
    void viewDestroyed();
    void runQueuedSync();
    // Rows of the page as the grid's height gives them: whole rows, and rows at least partly seen.
    int fullPageRows() const;
    int partPageRows() const;

private:
    void changed();
    void contentChanged();
    void viewStateChanged();
    void schedule() const;
    void updateSelectionView();
    void fire(const std::function<void()>& h);
    void fireMouse(const std::function<void(int, int, double, double)>& h, int button, int shift, double x, double y);
    void select(int row, int col, int rowSel, int colSel, bool notify);
    void ensureRowVisible(int r);
    double cellX(int col) const;
    double cellY(int row) const;
    int maxTopRow() const;
    void requireRow(int r) const;
    void requireCol(int c) const;
    void reorderRows(const std::vector<int>& order);
    CellStore cells_;
    std::vector<double> colWidths_;
    double rowHeight_;
    int row_ = 1, col_ = 0, rowSel_ = 1, colSel_ = 0;
    int topRowWanted_ = 1;
    int leftColWanted_ = 0;
    double headerHeight_ = 0;          // row 0; data rows share rowHeight_
    bool rowHeightSet_ = false;        // explicit heights survive a font change
    FlexGridView* view_;
    FlexGridModel* model_;
    mutable bool dirty_ = true;        // row or column count changed: the model resets
    mutable bool contentDirty_ = false;
    mutable bool viewStateDirty_ = true;
    mutable bool syncQueued_ = false;
    bool pressed_ = false;             // left button held on a data cell
    bool afterDoubleClick_ = false;    // the release that ends a double click gives no Click
};

} // namespace platform
