// The flexible grid on a Qt model/view pair. The cell store is the truth; the view is brought up
// to date by one deferred pass after any number of changes (or at once by sync()), so that a fill
// of many rows costs no signal per cell. Row 0 is shown as the view's horizontal header.
#include "platform/FlexGrid.h"
#include "platform/FlexGridModel.h"
#include "platform/FlexGridView.h"
#include <QFontMetricsF>
#include <QItemSelectionModel>
#include <QStyle>
#include <QTimer>
#include <algorithm>

namespace platform {

namespace {

constexpr double DefaultColWidth = 960;   // twips

} // namespace

FlexGrid::FlexGrid(Form& f, const QString& name, int index) : Control(f, name, index), cells_(2, 2)
{
    view_ = new FlexGridView(this);
    model_ = new FlexGridModel(this, view_);
    view_->setModel(model_);
    colWidths_.assign(static_cast<size_t>(Cols()), DefaultColWidth);
    rowHeight_ = ToTwips(QFontMetrics(view_->font()).height() + 6);
    headerHeight_ = rowHeight_;
    setWidget(view_);
    changed();
}

FlexGrid::~FlexGrid()
{
    if (view_) {
        view_->grid = nullptr;
        view_->header_->grid = nullptr;
        model_->grid = nullptr;
    }
}

void FlexGrid::viewDestroyed()
{
    view_ = nullptr;
    model_ = nullptr;
}

QTableView* FlexGrid::view() const { return view_; }

void FlexGrid::requireRow(int r) const
{
    if (r < 0 || r >= Rows())
        Err::Raise(Err::SubscriptOutOfRange);
}

void FlexGrid::requireCol(int c) const
{
    if (c < 0 || c >= Cols())
        Err::Raise(Err::SubscriptOutOfRange);
}

// --- the store ---------------------------------------------------------------------------------

void FlexGrid::setRows(int n)
{
    if (n < 1)
        Err::Raise(30009, QStringLiteral("Invalid Row value"));
    if (n == Rows())
        return;
    cells_.setRows(n);
    row_ = std::min(row_, n - 1);
    rowSel_ = std::min(rowSel_, n - 1);
    changed();
}

void FlexGrid::setCols(int n)
{
    if (n < 1)
        Err::Raise(30010, QStringLiteral("Invalid Col value"));
    if (n == Cols())
        return;
    cells_.setCols(n);
    colWidths_.resize(static_cast<size_t>(n), DefaultColWidth);
    col_ = std::min(col_, n - 1);
    colSel_ = std::min(colSel_, n - 1);
    leftColWanted_ = std::min(leftColWanted_, n - 1);
    changed();
}

QString FlexGrid::TextMatrix(int row, int col) const
{
    requireRow(row);
    requireCol(col);
    return cells_.Text(row, col);
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text)
{
    requireRow(row);
    requireCol(col);
    cells_.setText(row, col, text);
    contentChanged();
}

void FlexGrid::AddItem(const QString& tabSeparated)
{
    const QStringList parts = tabSeparated.split(QLatin1Char('\t'));
    AppendRow(std::vector<QString>(parts.begin(), parts.end()));
}

void FlexGrid::AppendRow(const std::vector<QString>& cells)
{
    cells_.AppendRow(cells);
    changed();
}

void FlexGrid::AppendRow(const std::string_view* cells, size_t count)
{
    cells_.AppendRow(cells, count);
    changed();
}

void FlexGrid::RemoveItem(int row)
{
    if (row < 1 || row >= Rows())
        Err::Raise(Err::SubscriptOutOfRange);
    if (Rows() == 2)
        Err::Raise(30015, QStringLiteral("Cannot remove last non-fixed row"));
    cells_.RemoveRow(row);
    row_ = std::min(row_, Rows() - 1);
    rowSel_ = std::min(rowSel_, Rows() - 1);
    changed();
}

void FlexGrid::Clear()
{
    cells_.Clear();
    contentChanged();
}

// --- sizes ---------------------------------------------------------------------------------

double FlexGrid::ColWidth(int col) const
{
    requireCol(col);
    return colWidths_[static_cast<size_t>(col)];
}

void FlexGrid::setColWidth(int col, double twips)
{
    if (col == -1) {   // every column
        std::fill(colWidths_.begin(), colWidths_.end(), std::max(0.0, twips));
    } else {
        requireCol(col);
        colWidths_[static_cast<size_t>(col)] = std::max(0.0, twips);
    }
    viewStateChanged();
}

double FlexGrid::RowHeight(int row) const
{
    requireRow(row);
    return row == 0 ? headerHeight_ : rowHeight_;
}

void FlexGrid::setRowHeight(int row, double twips)
{
    const double h = std::max(static_cast<double>(TwipsPerPixel), twips);
    if (row == -1) {
        headerHeight_ = rowHeight_ = h;
    } else {
        requireRow(row);
        (row == 0 ? headerHeight_ : rowHeight_) = h;
    }
    rowHeightSet_ = true;
    viewStateChanged();
}

QFont FlexGrid::Font() const { return view_ ? view_->font() : QFont(); }

void FlexGrid::setFont(const QFont& f)
{
    if (!view_)
        return;
    view_->setFont(f);
    if (!rowHeightSet_)
        headerHeight_ = rowHeight_ = ToTwips(QFontMetrics(f).height() + 6);
    viewStateChanged();
}

double FlexGrid::TextWidth(const QString& text) const
{
    return QFontMetricsF(Font()).horizontalAdvance(text) * TwipsPerPixel;
}

// --- current cell, selection, scrolling ----------------------------------------------------------

void FlexGrid::setRow(int r)
{
    if (r < 0 || r >= Rows())
        Err::Raise(30009, QStringLiteral("Invalid Row value"));
    row_ = rowSel_ = r;
    viewStateChanged();
}

void FlexGrid::setCol(int c)
{
    if (c < 0 || c >= Cols())
        Err::Raise(30010, QStringLiteral("Invalid Col value"));
    col_ = colSel_ = c;
    viewStateChanged();
}

void FlexGrid::setRowSel(int r)
{
    if (r < 0 || r >= Rows())
        Err::Raise(30009, QStringLiteral("Invalid Row value"));
    rowSel_ = r;
    viewStateChanged();
}

void FlexGrid::setColSel(int c)
{
    if (c < 0 || c >= Cols())
        Err::Raise(30010, QStringLiteral("Invalid Col value"));
    colSel_ = c;
    viewStateChanged();
}

int FlexGrid::fullPageRows() const
{
    int dataPx = ToPixels(Height()) - ToPixels(headerHeight_);
    if (view_) {
        dataPx -= 2 * view_->frameWidth();
        // A horizontal scroll bar appears when the shown columns are wider than the grid.
        int widthPx = 0;
        for (double w : colWidths_)
            widthPx += w > 0 ? ToPixels(w) : 0;
        if (widthPx > ToPixels(Width()) - 2 * view_->frameWidth())
            dataPx -= view_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view_);
    }
    return std::max(1, dataPx / std::max(1, ToPixels(rowHeight_)));
}

int FlexGrid::partPageRows() const
{
    int dataPx = ToPixels(Height()) - ToPixels(headerHeight_) - (view_ ? 2 * view_->frameWidth() : 0);
    const int rowPx = std::max(1, ToPixels(rowHeight_));
    return std::max({1, fullPageRows(), (dataPx + rowPx - 1) / rowPx});
}

int FlexGrid::maxTopRow() const
{
    // The grid does not scroll past the page that ends with the last row.
    return std::max(1, Rows() - fullPageRows());
}

int FlexGrid::TopRow() const
{
    sync();
    return std::clamp(topRowWanted_, 1, maxTopRow());
}

void FlexGrid::setTopRow(int r)
{
    if (r < 0 || r >= Rows())
        Err::Raise(30009, QStringLiteral("Invalid Row value"));
    topRowWanted_ = std::clamp(r, 1, maxTopRow());
    viewStateChanged();
}

int FlexGrid::LeftCol() const
{
    sync();
    return std::clamp(leftColWanted_, 0, Cols() - 1);
}

void FlexGrid::setLeftCol(int c)
{
    if (c < 0 || c >= Cols())
        Err::Raise(30010, QStringLiteral("Invalid Col value"));
    leftColWanted_ = c;
    viewStateChanged();
}

bool FlexGrid::RowIsVisible(int r) const
{
    if (r < 0 || r >= Rows())
        return false;
    if (r == 0)
        return true;
    const int top = TopRow();
    return r >= top && r < top + partPageRows();
}

void FlexGrid::ensureRowVisible(int r)
{
    if (r < 1)
        return;
    const int top = TopRow();
    if (r < top)
        topRowWanted_ = r;
    else if (r >= top + fullPageRows())
        topRowWanted_ = r - fullPageRows() + 1;
    topRowWanted_ = std::clamp(topRowWanted_, 1, maxTopRow());
}

// --- sorting -----------------------------------------------------------------------------------

void FlexGrid::Sort(int code)
{
    if (code == 0)
        return;
    if (code < 1 || code > 8)
        Err::Raise(Err::InvalidProcedureCall);
    if (Rows() < 3)
        return;
    if (code == 3 || code == 4)
        SortByKeys(cells_.NumberKeys(col_), code == 4);
    else
        reorderRows(cells_.TextOrder(col_, code));
}

void FlexGrid::SortByKeys(const std::vector<double>& keys, bool descending)
{
    if (Rows() < 3)
        return;
    if (keys.size() < static_cast<size_t>(Rows()))
        Err::Raise(Err::SubscriptOutOfRange);
    reorderRows(cells_.KeyOrder(keys, descending));
}

void FlexGrid::reorderRows(const std::vector<int>& order)
{
    cells_.Reorder(order);
    contentChanged();
}

// --- bringing the view up to date ----------------------------------------------------------------

void FlexGrid::changed()
{
    dirty_ = true;
    schedule();
}

void FlexGrid::contentChanged()
{
    contentDirty_ = true;
    schedule();
}

void FlexGrid::viewStateChanged()
{
    viewStateDirty_ = true;
    schedule();
}

void FlexGrid::schedule() const
{
    if (syncQueued_ || !view_)
        return;
    syncQueued_ = true;
    FlexGridView* v = view_;
    QTimer::singleShot(0, v, [v] {
        if (v->grid)
            v->grid->runQueuedSync();
    });
}

void FlexGrid::runQueuedSync()
{
    syncQueued_ = false;
    sync();
}

void FlexGrid::updateSelectionView()
{
    if (!view_ || !model_ || Rows() < 2) {
        if (view_ && view_->selectionModel())
            view_->selectionModel()->clear();
        return;
    }
    QItemSelectionModel* sm = view_->selectionModel();
    if (row_ < 1) {   // the header row is current: no data cell is current or selected
        sm->clearSelection();
        view_->setCurrentIndex(QModelIndex());   // no focus frame, and none put back on focus
        return;
    }
    const int r1 = std::max(1, std::min(row_, rowSel_)) - 1, r2 = std::max(row_, rowSel_) - 1;
    const int c1 = std::min(col_, colSel_), c2 = std::max(col_, colSel_);
    sm->select(QItemSelection(model_->index(r1, c1), model_->index(r2, c2)), QItemSelectionModel::ClearAndSelect);
    sm->setCurrentIndex(model_->index(row_ - 1, col_), QItemSelectionModel::NoUpdate);
}

void FlexGrid::sync() const
{
    if (!view_ || !model_)
        return;
    auto* self = const_cast<FlexGrid*>(this);
    if (!dirty_ && !contentDirty_ && !viewStateDirty_)
        return;
    view_->applying = true;
    if (dirty_) {
        // Rows take the height the view has when they come: a new height given once they are
        // there resizes them one by one, with a signal each.
        const int rowPx = std::max(1, ToPixels(rowHeight_));
        if (view_->verticalHeader()->defaultSectionSize() != rowPx) {
            model_->resetTo(0, Cols());
            view_->verticalHeader()->setDefaultSectionSize(rowPx);
        }
        model_->resetTo(Rows() - 1, Cols());
        dirty_ = contentDirty_ = false;
        viewStateDirty_ = true;
    } else if (contentDirty_) {
        model_->refreshAll();
        contentDirty_ = false;
    }
    if (viewStateDirty_) {
        viewStateDirty_ = false;
        QHeaderView* h = view_->horizontalHeader();
        h->setFixedHeight(ToPixels(headerHeight_));
        view_->verticalHeader()->setDefaultSectionSize(std::max(1, ToPixels(rowHeight_)));
        for (int c = 0; c < Cols(); ++c) {
            const double w = colWidths_[static_cast<size_t>(c)];
            view_->setColumnHidden(c, w <= 0);
            if (w > 0)
                view_->setColumnWidth(c, std::max(1, ToPixels(w)));
        }
        self->updateSelectionView();
        view_->applyScroll(std::clamp(topRowWanted_, 1, maxTopRow()), std::clamp(leftColWanted_, 0, Cols() - 1));
    }
    view_->applying = false;
}

} // namespace platform
