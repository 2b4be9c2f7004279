// The grid's events: what the view reports of a user's mouse and keys, and the same gestures
// made by code (as the tests make them).
#include "platform/FlexGrid.h"
#include <algorithm>

namespace platform {

// --- events ----------------------------------------------------------------------------------------

void FlexGrid::fire(const std::function<void()>& h)
{
    if (h)
        Dispatch(h);
}

void FlexGrid::fireMouse(const std::function<void(int, int, double, double)>& h, int button, int shift, double x, double y)
{
    if (h)
        Dispatch([&] { h(button, shift, x, y); });
}

void FlexGrid::select(int row, int col, int rowSel, int colSel, bool notify)
{
    const bool changedSel = row != row_ || col != col_ || rowSel != rowSel_ || colSel != colSel_;
    row_ = row;
    col_ = col;
    rowSel_ = rowSel;
    colSel_ = colSel;
    viewStateChanged();
    if (changedSel && notify)
        fire(SelChange);
}

double FlexGrid::cellX(int col) const
{
    double x = 0;
    for (int c = LeftCol(); c < col && c < Cols(); ++c)
        x += colWidths_[static_cast<size_t>(c)];
    return x + colWidths_[static_cast<size_t>(col)] / 2;
}

double FlexGrid::cellY(int row) const
{
    if (row == 0)
        return std::min(headerHeight_, rowHeight_) / 2;
    return headerHeight_ + (row - TopRow()) * rowHeight_ + rowHeight_ / 2;
}

void FlexGrid::viewPress(int row, int col, int button, int shift, double x, double y)
{
    afterDoubleClick_ = false;
    // The left button moves the current cell first, so that the press handler finds it there.
    bool selectionMoved = false;
    if (button == 1 && row >= 1 && row < Rows() && col >= 0 && col < Cols()) {
        pressed_ = true;
        const bool was = row != row_ || col != col_ || row != rowSel_ || col != colSel_;
        if (shift & 1)
            select(row_, col_, row, col, false);
        else
            select(row, col, row, col, false);
        selectionMoved = was;
    }
    fireMouse(MouseDown, button, shift, x, y);
    if (selectionMoved)
        fire(SelChange);
}

void FlexGrid::viewDrag(int row, int col)
{
    if (!pressed_ || row < 1 || row >= Rows() || col < 0 || col >= Cols())
        return;
    if (row != rowSel_ || col != colSel_) {
        select(row_, col_, row, col, true);
        ensureRowVisible(row);
    }
}

void FlexGrid::viewHeaderPress(int col, int button, int shift, double x, double y)
{
    afterDoubleClick_ = false;
    // A left press on the header row selects its column's data rows and makes the column current.
    bool selectionMoved = false;
    if (button == 1 && col >= 0 && col < Cols() && Rows() > 1) {
        selectionMoved = row_ != 1 || col_ != col || rowSel_ != Rows() - 1 || colSel_ != col;
        select(1, col, Rows() - 1, col, false);
    }
    fireMouse(MouseDown, button, shift, x, y);
    if (selectionMoved)
        fire(SelChange);
}

void FlexGrid::viewRelease(int button, int shift, double x, double y)
{
    pressed_ = false;
    fireMouse(MouseUp, button, shift, x, y);
    if (button == 1 && !afterDoubleClick_)
        fire(Click);
    afterDoubleClick_ = false;
}

void FlexGrid::viewDoubleClick(int button)
{
    if (button != 1)
        return;
    afterDoubleClick_ = true;
    fire(DblClick);
}

bool FlexGrid::viewKey(int vbKeyCode, int shift)
{
    int code = vbKeyCode;
    if (KeyDown)
        Dispatch([&] { KeyDown(code, shift); });
    if (code == 0)
        return true;
    const bool navigation = (code >= 33 && code <= 40);
    if (!navigation || Rows() < 2)
        return navigation;
    // With the header row current (after a fill) Down and Page Down start from above the first data row.
    int r = std::max(1, row_), c = col_;
    const int page = std::max(1, fullPageRows() - 1);
    switch (code) {
    case 38: r = std::max(1, r - 1); break;                          // Up
    case 40: r = std::min(Rows() - 1, row_ + 1); break;               // Down
    case 33: r = std::max(1, r - page); break;                       // Page Up
    case 34: r = std::max(1, std::min(Rows() - 1, row_ + page)); break; // Page Down
    case 37: c = std::max(0, c - 1); break;                          // Left
    case 39: c = std::min(Cols() - 1, c + 1); break;                  // Right
    case 36: if (shift & 2) r = 1; else c = 0; break;                // Home, Ctrl+Home
    case 35: if (shift & 2) r = Rows() - 1; else c = Cols() - 1; break; // End, Ctrl+End
    default: return false;
    }
    // Hidden columns are stepped over, in the direction of the move.
    if (code == 36 || code == 35 || code == 37 || code == 39) {
        int probe = c;
        while (probe >= 0 && probe < Cols() && colWidths_[static_cast<size_t>(probe)] <= 0)
            probe += (code == 36 || code == 39) ? 1 : -1;
        c = (probe >= 0 && probe < Cols()) ? probe : col_;
    }
    ensureRowVisible(r);
    if (shift & 1)
        select(row_, col_, r, c, true);
    else
        select(r, c, r, c, true);
    return true;
}

void FlexGrid::viewScrolled(int topRow, int leftCol)
{
    topRowWanted_ = topRow;
    leftColWanted_ = leftCol;
}

void FlexGrid::viewColumnResized(int col, double twips)
{
    if (col >= 0 && col < Cols())
        colWidths_[static_cast<size_t>(col)] = twips;
}

// --- a user's gestures ------------------------------------------------------------------------------

void FlexGrid::UserClickCell(int row, int col)
{
    requireRow(row);
    requireCol(col);
    if (row == 0) {
        UserClickHeader(col);
        return;
    }
    ensureRowVisible(row);
    const double x = cellX(col), y = cellY(row);
    viewPress(row, col, 1, 0, x, y);
    viewRelease(1, 0, x, y);
}

void FlexGrid::UserClickHeader(int col)
{
    requireCol(col);
    const double x = cellX(col), y = cellY(0);
    viewHeaderPress(col, 1, 0, x, y);
    viewRelease(1, 0, x, y);
}

void FlexGrid::UserDoubleClickCell(int row, int col)
{
    UserClickCell(row, col);
    const double x = cellX(col), y = cellY(row);
    viewDoubleClick(1);
    viewRelease(1, 0, x, y);
}

void FlexGrid::UserDoubleClickHeader(int col)
{
    UserClickHeader(col);
    const double x = cellX(col), y = cellY(0);
    viewDoubleClick(1);
    viewRelease(1, 0, x, y);
}

void FlexGrid::UserPressKey(int vbKeyCode) { viewKey(vbKeyCode, 0); }

} // namespace platform
