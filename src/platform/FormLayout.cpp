#include "platform/FormLayout.h"
#include <QBoxLayout>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QWidget>
#include <algorithm>

namespace platform::layout {

Cell Sized(Control* c, double width, double height)
{
    Cell cell(c);
    cell.width = width;
    cell.height = height;
    return cell;
}

Cell Filled(Control* c, double width, double height)
{
    Cell cell(c);
    cell.width = width;
    cell.height = height;
    cell.fill = true;
    return cell;
}

Cell Stacked(std::vector<Control*> controls)
{
    Cell cell(nullptr);
    cell.controls = std::move(controls);
    return cell;
}

Line Labelled(Control* caption, std::vector<Cell> cells)
{
    Line l;
    l.kind = Line::Kind::Labelled;
    l.caption = caption;
    l.cells = std::move(cells);
    return l;
}

Line Row(std::vector<Cell> cells)
{
    Line l;
    l.kind = Line::Kind::Row;
    l.cells = std::move(cells);
    return l;
}

Line Wide(std::vector<Cell> cells)
{
    Line l = Row(std::move(cells));
    l.kind = Line::Kind::Wide;
    return l;
}

Line Group(Frame* frame, int columns, std::vector<Cell> cells)
{
    Line l;
    l.kind = Line::Kind::Group;
    l.caption = frame;
    l.columns = std::max(1, columns);
    l.cells = std::move(cells);
    return l;
}

Line Columns(std::vector<Lines> blocks)
{
    Line l;
    l.kind = Line::Kind::Columns;
    l.blocks = std::move(blocks);
    return l;
}

namespace {

// Builds the Qt layouts of a dialog and notes its controls in screen order.
class Builder {
public:
    explicit Builder(const Dialog& d) : d_(d) {}

    std::vector<QWidget*> order;   // the controls Tab visits, in screen order

    QGridLayout* grid(const Lines& lines)
    {
        auto* g = new QGridLayout;
        g->setColumnStretch(1, 1);
        if (d_.fieldWidth > 0)
            g->setColumnMinimumWidth(1, ToPixels(d_.fieldWidth));
        int row = 0;
        for (const Line& line : lines)
            addLine(*g, row++, line);
        return g;
    }

    QBoxLayout* buttonRow()
    {
        auto* row = new QHBoxLayout;
        for (Control* b : d_.buttons) {
            QWidget* w = place(b);
            if (!w)
                continue;
            w->setMinimumWidth(ToPixels(d_.buttonWidth));
            row->addWidget(w);
        }
        row->addStretch(1);
        return row;
    }

private:
    // A control's widget, set up for a laid-out dialog; null for controls without one.
    QWidget* place(Control* c)
    {
        QWidget* w = c ? c->Widget() : nullptr;
        if (!w || w == c->Parent.Window())
            return nullptr;
        // A hidden control keeps its place, so that the dialog does not change shape.
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
        // A focused command takes Enter; elsewhere Enter goes to the dialog's default command.
        if (auto* b = qobject_cast<QPushButton*>(w))
            b->setAutoDefault(true);
        // A list's width does not depend on its items, which come after the layout.
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
            combo->setMinimumContentsLength(12);
            QSizePolicy p = combo->sizePolicy();
            p.setHorizontalPolicy(QSizePolicy::Expanding);
            combo->setSizePolicy(p);
        }
        return w;
    }

    QWidget* placeInOrder(Control* c)
    {
        QWidget* w = place(c);
        if (w && w->focusPolicy() != Qt::NoFocus)
            order.push_back(w);
        return w;
    }

    void size(QWidget* w, const Cell& cell)
    {
        if (cell.width > 0) {
            w->setMinimumWidth(ToPixels(cell.width));
            if (!cell.fill) {
                QSizePolicy p = w->sizePolicy();
                p.setHorizontalPolicy(QSizePolicy::Fixed);
                w->setSizePolicy(p);
            }
        }
        if (cell.fill) {
            QSizePolicy p = w->sizePolicy();
            p.setHorizontalPolicy(QSizePolicy::Expanding);
            w->setSizePolicy(p);
        }
        if (cell.height > 0)
            w->setFixedHeight(ToPixels(cell.height));
    }

    static bool grows(const QWidget* w) { return w->sizePolicy().horizontalPolicy() & QSizePolicy::ExpandFlag; }

    // The controls of a line, left to right; true when one of them is taller than a line of text.
    QBoxLayout* row(const std::vector<Cell>& cells, bool* tall = nullptr)
    {
        auto* box = new QHBoxLayout;
        bool anyGrows = false;
        for (const Cell& cell : cells) {
            if (cell.controls.size() == 1) {
                QWidget* w = placeInOrder(cell.controls.front());
                if (!w)
                    continue;
                size(w, cell);
                anyGrows = anyGrows || grows(w);
                if (tall && cell.height > 0)
                    *tall = true;
                box->addWidget(w);
                continue;
            }
            auto* stack = new QVBoxLayout;
            for (Control* c : cell.controls)
                if (QWidget* w = placeInOrder(c)) {
                    size(w, cell);
                    anyGrows = anyGrows || grows(w);
                    stack->addWidget(w);
                }
            if (tall)
                *tall = true;
            box->addLayout(stack);
        }
        if (!anyGrows)
            box->addStretch(1);
        return box;
    }

    void addLine(QGridLayout& g, int r, const Line& line)
    {
        switch (line.kind) {
        case Line::Kind::Labelled: {
            QWidget* caption = place(line.caption);
            bool tall = false;
            QBoxLayout* controls = row(line.cells, &tall);
            if (caption) {
                // Beside a box of several lines the caption stands level with its first line.
                const Qt::Alignment valign = tall ? Qt::AlignTop : Qt::AlignVCenter;
                if (tall)
                    caption->setContentsMargins(0, 4, 0, 0);
                g.addWidget(caption, r, 0, Qt::AlignLeft | valign);
            }
            g.addLayout(controls, r, 1);
            break;
        }
        case Line::Kind::Row:
            g.addLayout(row(line.cells), r, 1);
            break;
        case Line::Kind::Wide:
            g.addLayout(row(line.cells), r, 0, 1, 2);
            break;
        case Line::Kind::Group: {
            QWidget* frame = place(line.caption);
            if (!frame)
                break;
            auto* inner = new QGridLayout(frame);
            const int count = static_cast<int>(line.cells.size());
            const int rows = (count + line.columns - 1) / line.columns;
            for (int i = 0; i < count; ++i) {
                const Cell& cell = line.cells[i];
                if (cell.controls.empty())
                    continue;
                if (QWidget* w = placeInOrder(cell.controls.front())) {
                    size(w, cell);
                    inner->addWidget(w, i % rows, i / rows);
                }
            }
            g.addWidget(frame, r, 0, 1, 2);
            break;
        }
        case Line::Kind::Columns: {
            auto* side = new QHBoxLayout;
            for (size_t b = 0; b < line.blocks.size(); ++b) {
                if (b > 0)
                    side->addSpacing(16);
                side->addLayout(grid(line.blocks[b]));
            }
            g.addLayout(side, r, 0, 1, 2);
            break;
        }
        }
    }

    const Dialog& d_;
};

} // namespace

void LayOut(Form& form, const Dialog& dialog)
{
    QWidget* window = form.Window();
    if (!window)
        return;
    Builder b(dialog);
    auto* outer = new QVBoxLayout(window);
    // The dialog is as large as its layout, no more and no less.
    outer->setSizeConstraint(QLayout::SetFixedSize);
    outer->addLayout(b.grid(dialog.lines));
    if (!dialog.buttons.empty()) {
        outer->addSpacing(8);
        outer->addLayout(b.buttonRow());
    }
    // Tab goes as the eye reads the dialog.
    std::vector<QWidget*> order = b.order;
    for (Control* c : dialog.buttons)
        if (c && c->Widget())
            order.push_back(c->Widget());
    for (size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    Settle(form);
}

void Settle(const Form& form)
{
    QWidget* window = form.Window();
    if (!window || !window->layout())
        return;
    // The window's layout places the frames; then each frame places what it holds.
    window->layout()->activate();
    for (QWidget* w : window->findChildren<QWidget*>())
        if (w->layout())
            w->layout()->activate();
}

namespace {
// The control that a widget belongs to: the innermost one whose widget holds it.
Control* ControlOf(const Form& form, QWidget* w)
{
    for (QWidget* p = w; p && p != form.Window(); p = p->parentWidget())
        for (Control* c : form.Controls())
            if (c->Widget() == p)
                return c;
    return nullptr;
}
} // namespace

std::vector<Control*> TabOrder(const Form& form)
{
    std::vector<Control*> out;
    QWidget* window = form.Window();
    if (!window)
        return out;
    for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain()) {
        if (w->focusProxy() || !(w->focusPolicy() & Qt::TabFocus) || !w->isVisibleTo(window) || !w->isEnabled())
            continue;
        Control* c = ControlOf(form, w);
        if (c && std::find(out.begin(), out.end(), c) == out.end())
            out.push_back(c);
    }
    return out;
}

QRect PlaceInWindow(const Control& c)
{
    QWidget* w = c.Widget();
    QWidget* window = c.Parent.Window();
    if (!w || !window || w == window)
        return QRect();
    const QPoint at = w->mapTo(window, QPoint(0, 0));
    return QRect(ToTwips(at.x()), ToTwips(at.y()), ToTwips(w->width()), ToTwips(w->height()));
}

} // namespace platform::layout
