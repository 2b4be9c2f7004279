#pragma once
// Internal to the platform layer: the Qt view of a grid and its header row. They report the
// user's mouse and keys to the grid, which decides; the grid's header row is the view's header.
#include "platform/FormConstants.h"
#include <QHeaderView>
#include <QMouseEvent>
#include <QTableView>

namespace platform {

class FlexGrid;

// The header row: a press sorts (the list windows decide), a press on a column's edge resizes it.
class FlexGridHeader : public QHeaderView {
public:
    explicit FlexGridHeader(QWidget* parent);
    FlexGrid* grid = nullptr;

protected:
    bool onHandle(int x) const;
    double twipsY(const QMouseEvent* e) const;
    double twipsX(const QMouseEvent* e) const { return ToTwips(static_cast<int>(e->position().x()) + 1); }

    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    bool resizing_ = false;
};

class FlexGridView : public QTableView {
public:
    explicit FlexGridView(FlexGrid* g);
    ~FlexGridView() override;

    // Puts the scroll bars where the grid's top row and left column say.
    void applyScroll(int topRow, int leftCol);

    int shownLeftCol() const;

    FlexGrid* grid;
    FlexGridHeader* header_;
    bool applying = false;

protected:
    void scrolled();
    double twipsX(const QPointF& p) const { return ToTwips(static_cast<int>(p.x()) + frameWidth()); }
    double twipsY(const QPointF& p) const;
    int rowAtPoint(const QPointF& p) const;

    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void reapply();
};

} // namespace platform
