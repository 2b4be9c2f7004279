// The flexible grid on a Qt model/view pair. The cell store is the truth; the view is brought up
// to date by one deferred pass after any number of changes (or at once by sync()), so that a fill
// of many rows costs no signal per cell. Row 0 is shown as the view's horizontal header.
#include "platform/FlexGrid.h"
#include "platform/WheelFilter.h"

#include <QAbstractTableModel>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace platform {

namespace {

constexpr double DefaultColWidth = 960;   // twips

// Cell texts are kept as UTF-8; most are plain ASCII and skip the codec.
std::string toStore(const QString& text)
{
    const qsizetype n = text.size();
    const QChar* p = text.constData();
    std::string out;
    out.resize(static_cast<size_t>(n));
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = p[i].unicode();
        if (u >= 0x80)
            return text.toStdString();
        out[static_cast<size_t>(i)] = static_cast<char>(u);
    }
    return out;
}

QString fromStore(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// A number as the grid reads cell text: optional sign, digits, one decimal mark; with both "."
// and "," present the dots group thousands (Italian "1.234,50").
bool readNumber(const std::string& s, double* value)
{
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t'))
        --e;
    if (b == e)
        return false;
    const bool hasComma = s.find(',', b) < e;
    std::string t;
    t.reserve(e - b);
    bool digits = false, mark = false;
    for (size_t i = b; i < e; ++i) {
        const char ch = s[i];
        if (ch >= '0' && ch <= '9') {
            t += ch;
            digits = true;
        } else if ((ch == '+' || ch == '-') && i == b) {
            t += ch;
        } else if (ch == ',' || (ch == '.' && !hasComma)) {
            if (mark)
                return false;
            mark = true;
            t += '.';
        } else if (ch == '.' && hasComma && !mark && digits) {
            // thousands mark
        } else {
            return false;
        }
    }
    if (!digits)
        return false;
    *value = std::strtod(t.c_str(), nullptr);
    return true;
}

int vbButton(Qt::MouseButton b)
{
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

int vbShift(Qt::KeyboardModifiers m)
{
    return ((m & Qt::ShiftModifier) ? 1 : 0) | ((m & Qt::ControlModifier) ? 2 : 0) | ((m & Qt::AltModifier) ? 4 : 0);
}

} // namespace

class FlexGridModel : public QAbstractTableModel {
public:
    FlexGridModel(FlexGrid* g, QObject* parent) : QAbstractTableModel(parent), grid(g) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : shownRows; }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : shownCols; }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !grid)
            return {};
        const int r = index.row() + 1, c = index.column();
        if (r >= grid->Rows() || c >= grid->Cols())   // the store shrank; the reset is on its way
            return {};
        return fromStore(grid->cell(r, c));
    }

    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        if (o != Qt::Horizontal || !grid)
            return {};
        if (role == Qt::DisplayRole)
            return section < grid->Cols() ? fromStore(grid->cell(0, section)) : QString();
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        return {};
    }

    void resetTo(int rows, int cols)
    {
        beginResetModel();
        shownRows = rows;
        shownCols = cols;
        endResetModel();
    }

    void refreshAll()
    {
        if (shownCols > 0) {
            emit headerDataChanged(Qt::Horizontal, 0, shownCols - 1);
            if (shownRows > 0)
                emit dataChanged(index(0, 0), index(shownRows - 1, shownCols - 1), {Qt::DisplayRole});
        }
    }

    FlexGrid* grid;
    int shownRows = 0;
    int shownCols = 0;
};

// The header row: a press sorts (the list windows decide), a press on a column's edge resizes it.
class FlexGridHeader : public QHeaderView {
public:
    explicit FlexGridHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
    {
        setSectionsClickable(false);
        setHighlightSections(false);
        setMinimumSectionSize(1);
        setSectionResizeMode(QHeaderView::Interactive);
        setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    FlexGrid* grid = nullptr;

protected:
    bool onHandle(int x) const
    {
        const int logical = logicalIndexAt(x);
        if (logical < 0)
            return false;
        const int margin = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, this);
        const int left = sectionViewportPosition(logical);
        const int right = left + sectionSize(logical);
        return x >= right - margin || (x <= left + margin && visualIndex(logical) > 0);
    }
    double twipsY(const QMouseEvent* e) const
    {
        // Whatever the header's own height, a press on it reads as above the first data row.
        const double y = ToTwips(static_cast<int>(e->position().y()));
        return grid ? std::min(y, grid->RowHeight(grid->Rows() > 1 ? 1 : 0) - 1) : y;
    }
    double twipsX(const QMouseEvent* e) const { return ToTwips(static_cast<int>(e->position().x()) + 1); }

    void mousePressEvent(QMouseEvent* e) override
    {
        const int x = static_cast<int>(e->position().x());
        if (e->button() == Qt::LeftButton && onHandle(x)) {
            resizing_ = true;
            QHeaderView::mousePressEvent(e);
            return;
        }
        if (grid)
            grid->viewHeaderPress(logicalIndexAt(x), vbButton(e->button()), vbShift(e->modifiers()), twipsX(e), twipsY(e));
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        if (resizing_ || e->buttons() == Qt::NoButton)
            QHeaderView::mouseMoveEvent(e);   // the resize cursor over the edges
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (resizing_) {
            resizing_ = false;
            QHeaderView::mouseReleaseEvent(e);
            return;
        }
        if (grid)
            grid->viewRelease(vbButton(e->button()), vbShift(e->modifiers()), twipsX(e), twipsY(e));
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        if (onHandle(static_cast<int>(e->position().x()))) {
            QHeaderView::mouseDoubleClickEvent(e);
            return;
        }
        if (grid)
            grid->viewDoubleClick(vbButton(e->button()));
    }

private:
    bool resizing_ = false;
};

class FlexGridView : public QTableView {
public:
    explicit FlexGridView(FlexGrid* g) : grid(g)
    {
        header_ = new FlexGridHeader(this);
        header_->grid = g;
        setHorizontalHeader(header_);
        verticalHeader()->hide();
        verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        verticalHeader()->setMinimumSectionSize(1);
        setSelectionMode(QAbstractItemView::NoSelection);   // the grid draws its own selection
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
        setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
        setAutoScroll(false);
        setTabKeyNavigation(false);
        setWordWrap(false);
        setCornerButtonEnabled(false);
        setFocusPolicy(Qt::StrongFocus);
        // The selection keeps its colour when the grid has not the focus, as the list windows expect.
        QPalette p = palette();
        p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
        p.setColor(QPalette::Inactive, QPalette::HighlightedText, p.color(QPalette::Active, QPalette::HighlightedText));
        setPalette(p);

        connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int) { scrolled(); });
        connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int) { scrolled(); });
        connect(header_, &QHeaderView::sectionResized, this, [this](int logical, int, int size) {
            if (!applying && grid && size > 0)
                grid->viewColumnResized(logical, ToTwips(size));
        });
    }
    ~FlexGridView() override
    {
        if (grid)
            grid->viewDestroyed();
    }

    // Puts the scroll bars where the grid's top row and left column say.
    void applyScroll(int topRow, int leftCol)
    {
        updateGeometries();
        verticalScrollBar()->setValue(topRow - 1);
        // Per-item scrolling counts the shown columns only.
        int shownBefore = 0;
        for (int c = 0; c < leftCol && c < model()->columnCount(); ++c)
            if (!isColumnHidden(c))
                ++shownBefore;
        horizontalScrollBar()->setValue(shownBefore);
    }

    int shownLeftCol() const
    {
        int v = horizontalScrollBar()->value();
        const int cols = model() ? model()->columnCount() : 0;
        for (int c = 0; c < cols; ++c)
            if (!isColumnHidden(c) && v-- == 0)
                return c;
        return 0;
    }

    FlexGrid* grid;
    FlexGridHeader* header_;
    bool applying = false;

protected:
    void scrolled()
    {
        // Only what the user did, on a grid he can see, moves the grid's top row.
        if (applying || !grid || !isVisible())
            return;
        grid->viewScrolled(verticalScrollBar()->value() + 1, shownLeftCol());
    }
    double twipsX(const QPointF& p) const { return ToTwips(static_cast<int>(p.x()) + frameWidth()); }
    double twipsY(const QPointF& p) const
    {
        return ToTwips(static_cast<int>(p.y()) + frameWidth() + horizontalHeader()->height());
    }
    int rowAtPoint(const QPointF& p) const
    {
        const int r = rowAt(static_cast<int>(p.y()));
        return r < 0 ? -1 : r + 1;
    }

    void mousePressEvent(QMouseEvent* e) override
    {
        if (!grid)
            return;
        setFocus(Qt::MouseFocusReason);
        const QPointF p = e->position();
        grid->viewPress(rowAtPoint(p), columnAt(static_cast<int>(p.x())), vbButton(e->button()), vbShift(e->modifiers()),
                        twipsX(p), twipsY(p));
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        if (!grid || !(e->buttons() & Qt::LeftButton))
            return;
        const QPointF p = e->position();
        grid->viewDrag(rowAtPoint(p), columnAt(static_cast<int>(p.x())));
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (grid)
            grid->viewRelease(vbButton(e->button()), vbShift(e->modifiers()), twipsX(e->position()), twipsY(e->position()));
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        if (grid)
            grid->viewDoubleClick(vbButton(e->button()));
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        if (!grid)
            return;
        const int code = VbKeyCode(e->key());
        if (code == 0) {
            QTableView::keyPressEvent(e);
            return;
        }
        // Keys the grid does not use (Enter, Escape, ...) go on to the window's buttons.
        if (!grid->viewKey(code, vbShift(e->modifiers())))
            e->ignore();
    }
    void wheelEvent(QWheelEvent* e) override
    {
        // On a hooked window the wheel belongs to the window's own page scrolling.
        if (Wheel::IsHooked(grid ? grid->Parent.hWnd() : 0)) {
            e->ignore();
            return;
        }
        QTableView::wheelEvent(e);
    }
    void showEvent(QShowEvent* e) override
    {
        QTableView::showEvent(e);
        reapply();
    }
    void resizeEvent(QResizeEvent* e) override
    {
        QTableView::resizeEvent(e);
        reapply();
    }

private:
    void reapply()
    {
        if (grid)
            grid->sync();
        if (!grid)
            return;
        applying = true;
        applyScroll(grid->TopRow(), grid->LeftCol());
        applying = false;
    }
};

// ---------------------------------------------------------------------------------------------

FlexGrid::FlexGrid(Form& f, const QString& name, int index) : Control(f, name, ControlKind::FlexGrid, index)
{
    view_ = new FlexGridView(this);
    model_ = new FlexGridModel(this, view_);
    view_->setModel(model_);
    cells_.resize(static_cast<size_t>(rows_) * cols_);
    colWidths_.assign(static_cast<size_t>(cols_), DefaultColWidth);
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
    if (r < 0 || r >= rows_)
        Err::Raise(Err::SubscriptOutOfRange);
}

void FlexGrid::requireCol(int c) const
{
    if (c < 0 || c >= cols_)
        Err::Raise(Err::SubscriptOutOfRange);
}

// --- the store ---------------------------------------------------------------------------------

void FlexGrid::setRows(int n)
{
    if (n < 1)
        Err::Raise(30009, QStringLiteral("Invalid Row value"));
    if (n == rows_)
        return;
    cells_.resize(static_cast<size_t>(n) * cols_);
    rows_ = n;
    row_ = std::min(row_, n - 1);
    rowSel_ = std::min(rowSel_, n - 1);
    changed();
}

void FlexGrid::setCols(int n)
{
    if (n < 1)
        Err::Raise(30010, QStringLiteral("Invalid Col value"));
    if (n == cols_)
        return;
    std::vector<std::string> next(static_cast<size_t>(rows_) * n);
    const int keep = std::min(n, cols_);
    for (int r = 0; r < rows_; ++r)
        for (int c = 0; c < keep; ++c)
            next[static_cast<size_t>(r) * n + c] = std::move(cells_[static_cast<size_t>(r) * cols_ + c]);
    cells_.swap(next);
    cols_ = n;
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
    return fromStore(cell(row, col));
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text)
{
    requireRow(row);
    requireCol(col);
    cells_[static_cast<size_t>(row) * cols_ + col] = toStore(text);
    contentChanged();
}

void FlexGrid::AddItem(const QString& tabSeparated)
{
    const QStringList parts = tabSeparated.split(QLatin1Char('\t'));
    AppendRow(std::vector<QString>(parts.begin(), parts.end()));
}

void FlexGrid::AppendRow(const std::vector<QString>& cells)
{
    // Texts past the last column are dropped, missing ones left empty.
    const size_t base = cells_.size();
    // Long fills grow the store in big steps: every regrowth moves all cells into fresh pages.
    if (cells_.capacity() < base + cols_)
        cells_.reserve(std::max<size_t>(4 * cells_.capacity(), base + 64 * static_cast<size_t>(cols_)));
    cells_.resize(base + cols_);
    const size_t n = std::min(cells.size(), static_cast<size_t>(cols_));
    for (size_t c = 0; c < n; ++c)
        cells_[base + c] = toStore(cells[c]);
    ++rows_;
    changed();
}

void FlexGrid::RemoveItem(int row)
{
    if (row < 1 || row >= rows_)
        Err::Raise(Err::SubscriptOutOfRange);
    if (rows_ == 2)
        Err::Raise(30015, QStringLiteral("Cannot remove last non-fixed row"));
    const auto first = cells_.begin() + static_cast<std::ptrdiff_t>(row) * cols_;
    cells_.erase(first, first + cols_);
    --rows_;
    row_ = std::min(row_, rows_ - 1);
    rowSel_ = std::min(rowSel_, rows_ - 1);
    changed();
}

void FlexGrid::Clear()
{
    for (auto& s : cells_)
        s.clear();
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
    if (r < 0 || r >= rows_)
        Err::Raise(30009, QStringLiteral("Invalid Row value"));
    row_ = rowSel_ = r;
    viewStateChanged();
}

void FlexGrid::setCol(int c)
{
    if (c < 0 || c >= cols_)
        Err::Raise(30010, QStringLiteral("Invalid Col value"));
    col_ = colSel_ = c;
    viewStateChanged();
}

void FlexGrid::setRowSel(int r)
{
    if (r < 0 || r >= rows_)
        Err::Raise(30009, QStringLiteral("Invalid Row value"));
    rowSel_ = r;
    viewStateChanged();
}

void FlexGrid::setColSel(int c)
{
    if (c < 0 || c >= cols_)
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
    return std::max(1, rows_ - fullPageRows());
}

int FlexGrid::TopRow() const
{
    sync();
    return std::clamp(topRowWanted_, 1, maxTopRow());
}

void FlexGrid::setTopRow(int r)
{
    if (r < 0 || r >= rows_)
        Err::Raise(30009, QStringLiteral("Invalid Row value"));
    topRowWanted_ = std::clamp(r, 1, maxTopRow());
    viewStateChanged();
}

int FlexGrid::LeftCol() const
{
    sync();
    return std::clamp(leftColWanted_, 0, cols_ - 1);
}

void FlexGrid::setLeftCol(int c)
{
    if (c < 0 || c >= cols_)
        Err::Raise(30010, QStringLiteral("Invalid Col value"));
    leftColWanted_ = c;
    viewStateChanged();
}

bool FlexGrid::RowIsVisible(int r) const
{
    if (r < 0 || r >= rows_)
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
    if (rows_ < 3)
        return;
    const int col = col_;
    const bool descending = code % 2 == 0;
    if (code == 3 || code == 4) {
        std::vector<double> keys(static_cast<size_t>(rows_), 0.0);
        for (int r = 1; r < rows_; ++r)
            readNumber(cell(r, col), &keys[static_cast<size_t>(r)]);
        SortByKeys(keys, descending);
        return;
    }
    struct Key {
        double num = 0;
        bool isNum = false;
        QString text;
    };
    std::vector<Key> keys(static_cast<size_t>(rows_));
    for (int r = 1; r < rows_; ++r) {
        Key& k = keys[static_cast<size_t>(r)];
        const std::string& s = cell(r, col);
        k.isNum = code <= 2 && readNumber(s, &k.num);
        k.text = fromStore(s);
        if (code != 7 && code != 8)
            k.text = k.text.toCaseFolded();
    }
    // -1, 0, 1 as a goes before, with, after b in ascending order.
    auto compare = [&](int a, int b) -> int {
        const Key& x = keys[static_cast<size_t>(a)];
        const Key& y = keys[static_cast<size_t>(b)];
        if (x.isNum && y.isNum)
            return x.num < y.num ? -1 : (y.num < x.num ? 1 : 0);
        const int t = x.text.compare(y.text);
        return t < 0 ? -1 : (t > 0 ? 1 : 0);
    };
    std::vector<int> order(static_cast<size_t>(rows_ - 1));
    std::iota(order.begin(), order.end(), 1);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int c = compare(a, b);
        return descending ? c > 0 : c < 0;
    });
    reorderRows(order);
}

void FlexGrid::SortByKeys(const std::vector<double>& keys, bool descending)
{
    if (rows_ < 3)
        return;
    if (keys.size() < static_cast<size_t>(rows_))
        Err::Raise(Err::SubscriptOutOfRange);
    std::vector<int> order(static_cast<size_t>(rows_ - 1));
    std::iota(order.begin(), order.end(), 1);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return descending ? keys[static_cast<size_t>(b)] < keys[static_cast<size_t>(a)]
                          : keys[static_cast<size_t>(a)] < keys[static_cast<size_t>(b)];
    });
    reorderRows(order);
}

// Puts the data rows in the given order (row numbers 1 to Rows - 1); the header row stays.
void FlexGrid::reorderRows(const std::vector<int>& order)
{
    std::vector<std::string> next;
    next.reserve(cells_.size());
    for (int c = 0; c < cols_; ++c)
        next.push_back(std::move(cells_[static_cast<size_t>(c)]));
    for (int r : order)
        for (int c = 0; c < cols_; ++c)
            next.push_back(std::move(cells_[static_cast<size_t>(r) * cols_ + c]));
    cells_.swap(next);
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
    if (!view_ || !model_ || rows_ < 2) {
        if (view_ && view_->selectionModel())
            view_->selectionModel()->clear();
        return;
    }
    QItemSelectionModel* sm = view_->selectionModel();
    if (row_ < 1) {   // the header row is current: nothing is selected
        sm->clearSelection();
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
        model_->resetTo(rows_ - 1, cols_);
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
        for (int c = 0; c < cols_; ++c) {
            const double w = colWidths_[static_cast<size_t>(c)];
            view_->setColumnHidden(c, w <= 0);
            if (w > 0)
                view_->setColumnWidth(c, std::max(1, ToPixels(w)));
        }
        self->updateSelectionView();
        view_->applyScroll(std::clamp(topRowWanted_, 1, maxTopRow()), std::clamp(leftColWanted_, 0, cols_ - 1));
    }
    view_->applying = false;
}

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
    for (int c = LeftCol(); c < col && c < cols_; ++c)
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
    if (button == 1 && row >= 1 && row < rows_ && col >= 0 && col < cols_) {
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
    if (!pressed_ || row < 1 || row >= rows_ || col < 0 || col >= cols_)
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
    if (button == 1 && col >= 0 && col < cols_ && rows_ > 1) {
        selectionMoved = row_ != 1 || col_ != col || rowSel_ != rows_ - 1 || colSel_ != col;
        select(1, col, rows_ - 1, col, false);
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
    if (!navigation || rows_ < 2)
        return navigation;
    int r = std::max(1, row_), c = col_;
    const int page = std::max(1, fullPageRows() - 1);
    switch (code) {
    case 38: r = std::max(1, r - 1); break;                         // Up
    case 40: r = std::min(rows_ - 1, r + 1); break;                 // Down
    case 33: r = std::max(1, r - page); break;                      // Page Up
    case 34: r = std::min(rows_ - 1, r + page); break;              // Page Down
    case 37: c = std::max(0, c - 1); break;                         // Left
    case 39: c = std::min(cols_ - 1, c + 1); break;                 // Right
    case 36: if (shift & 2) r = 1; else c = 0; break;               // Home, Ctrl+Home
    case 35: if (shift & 2) r = rows_ - 1; else c = cols_ - 1; break; // End, Ctrl+End
    default: return false;
    }
    // Hidden columns are stepped over, in the direction of the move.
    if (code == 36 || code == 35 || code == 37 || code == 39) {
        int probe = c;
        while (probe >= 0 && probe < cols_ && colWidths_[static_cast<size_t>(probe)] <= 0)
            probe += (code == 36 || code == 39) ? 1 : -1;
        c = (probe >= 0 && probe < cols_) ? probe : col_;
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
    if (col >= 0 && col < cols_)
        colWidths_[static_cast<size_t>(col)] = twips;
}

void FlexGrid::viewCellPressed(int row, int col, double y) { viewPress(row, col, 1, 0, cellX(col), y); }
void FlexGrid::viewCellReleased() { viewRelease(1, 0, cellX(col_), cellY(std::max(0, row_))); }
void FlexGrid::viewCellDoubleClicked() { viewDoubleClick(1); }
void FlexGrid::viewHeaderPressed(int col) { viewHeaderPress(col, 1, 0, cellX(col), cellY(0)); }

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
