#include "platform/FlexGridView.h"
#include "platform/FlexGrid.h"
#include "platform/WheelFilter.h"
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

namespace platform {

namespace {

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

FlexGridHeader::FlexGridHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(false);
    setHighlightSections(false);
    setMinimumSectionSize(1);
    setSectionResizeMode(QHeaderView::Interactive);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

bool FlexGridHeader::onHandle(int x) const
{
    const int logical = logicalIndexAt(x);
    if (logical < 0)
        return false;
    const int margin = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, this);
    const int left = sectionViewportPosition(logical);
    const int right = left + sectionSize(logical);
    return x >= right - margin || (x <= left + margin && visualIndex(logical) > 0);
}

double FlexGridHeader::twipsY(const QMouseEvent* e) const
{
    // Whatever the header's own height, a press on it reads as above the first data row.
    const double y = ToTwips(static_cast<int>(e->position().y()));
    return grid ? std::min(y, grid->RowHeight(grid->Rows() > 1 ? 1 : 0) - 1) : y;
}

void FlexGridHeader::mousePressEvent(QMouseEvent* e)
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

void FlexGridHeader::mouseMoveEvent(QMouseEvent* e)
{
    if (resizing_ || e->buttons() == Qt::NoButton)
        QHeaderView::mouseMoveEvent(e);   // the resize cursor over the edges
}

void FlexGridHeader::mouseReleaseEvent(QMouseEvent* e)
{
    if (resizing_) {
        resizing_ = false;
        QHeaderView::mouseReleaseEvent(e);
        return;
    }
    if (grid)
        grid->viewRelease(vbButton(e->button()), vbShift(e->modifiers()), twipsX(e), twipsY(e));
}

void FlexGridHeader::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (onHandle(static_cast<int>(e->position().x()))) {
        QHeaderView::mouseDoubleClickEvent(e);
        return;
    }
    if (grid)
        grid->viewDoubleClick(vbButton(e->button()));
}
FlexGridView::FlexGridView(FlexGrid* g) : grid(g)
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

FlexGridView::~FlexGridView()
{
    if (grid)
        grid->viewDestroyed();
}

void FlexGridView::applyScroll(int topRow, int leftCol)
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

int FlexGridView::shownLeftCol() const
{
    int v = horizontalScrollBar()->value();
    const int cols = model() ? model()->columnCount() : 0;
    for (int c = 0; c < cols; ++c)
        if (!isColumnHidden(c) && v-- == 0)
            return c;
    return 0;
}

void FlexGridView::scrolled()
{
    // Only what the user did, on a grid he can see, moves the grid's top row.
    if (applying || !grid || !isVisible())
        return;
    grid->viewScrolled(verticalScrollBar()->value() + 1, shownLeftCol());
}

double FlexGridView::twipsY(const QPointF& p) const
{
    return ToTwips(static_cast<int>(p.y()) + frameWidth() + horizontalHeader()->height());
}

int FlexGridView::rowAtPoint(const QPointF& p) const
{
    const int r = rowAt(static_cast<int>(p.y()));
    return r < 0 ? -1 : r + 1;
}

void FlexGridView::mousePressEvent(QMouseEvent* e)
{
    if (!grid)
        return;
    setFocus(Qt::MouseFocusReason);
    const QPointF p = e->position();
    grid->viewPress(rowAtPoint(p), columnAt(static_cast<int>(p.x())), vbButton(e->button()), vbShift(e->modifiers()),
                    twipsX(p), twipsY(p));
}

void FlexGridView::mouseMoveEvent(QMouseEvent* e)
{
    if (!grid || !(e->buttons() & Qt::LeftButton))
        return;
    const QPointF p = e->position();
    grid->viewDrag(rowAtPoint(p), columnAt(static_cast<int>(p.x())));
}

void FlexGridView::mouseReleaseEvent(QMouseEvent* e)
{
    if (grid)
        grid->viewRelease(vbButton(e->button()), vbShift(e->modifiers()), twipsX(e->position()), twipsY(e->position()));
}

void FlexGridView::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (grid)
        grid->viewDoubleClick(vbButton(e->button()));
}

void FlexGridView::keyPressEvent(QKeyEvent* e)
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

void FlexGridView::wheelEvent(QWheelEvent* e)
{
    // On a hooked window the wheel belongs to the window's own page scrolling.
    if (Wheel::IsHooked(grid ? grid->Parent.hWnd() : 0)) {
        e->ignore();
        return;
    }
    QTableView::wheelEvent(e);
}

void FlexGridView::showEvent(QShowEvent* e)
{
    QTableView::showEvent(e);
    reapply();
}

void FlexGridView::resizeEvent(QResizeEvent* e)
{
    QTableView::resizeEvent(e);
    reapply();
}

void FlexGridView::reapply()
{
    if (grid)
        grid->sync();
    if (!grid)
        return;
    applying = true;
    applyScroll(grid->TopRow(), grid->LeftCol());
    applying = false;
}

} // namespace platform
