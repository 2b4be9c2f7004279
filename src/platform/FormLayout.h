#pragma once
// Dialogs laid out by Qt layouts. A window says what stands on it, top to bottom: labelled
// fields (a caption beside one control or a row of controls), frames holding a group of
// controls, blocks side by side, then one row of command buttons. The layout finds every size
// from the captions and the font, so nothing is cut; the tab order follows the layout (top to
// bottom, along a row left to right, block after block), and the dialog keeps the size of its
// layout: the user can neither shrink nor stretch it.
#include "platform/Forms.h"
#include <QRect>
#include <vector>

namespace platform::layout {

// One place on a line: a control, or several stacked one above the other.
struct Cell {
    Cell(Control* c) : controls{c} {}   // as wide as its content asks; a text field fills the line
    std::vector<Control*> controls;
    double width = 0;    // twips; 0 = as its content asks
    double height = 0;   // twips; 0 = as its content asks
    bool fill = false;   // grows to the width of the line
};
// A control of its own width (twips) that keeps it; a height for a multi-line box.
Cell Sized(Control* c, double width, double height = 0);
// A control at least this wide that fills its line; a height of its own when given.
Cell Filled(Control* c, double width = 0, double height = 0);
// Controls one above the other in one place.
Cell Stacked(std::vector<Control*> controls);

struct Line;
using Lines = std::vector<Line>;

struct Line {
    enum class Kind { Labelled, Row, Wide, Group, Columns };
    Kind kind = Kind::Row;
    Control* caption = nullptr;   // Field: the caption; Group: the frame
    std::vector<Cell> cells;
    int columns = 1;              // Group: the frame's columns, filled one after the other
    std::vector<Lines> blocks;    // Columns: blocks side by side
};

// A caption with its controls beside it, left to right.
Line Labelled(Control* caption, std::vector<Cell> cells);
// Controls in the field column, without a caption of their own.
Line Row(std::vector<Cell> cells);
// Controls across the caption and field columns.
Line Wide(std::vector<Cell> cells);
// A frame across both columns holding its controls in a grid, column after column.
Line Group(Frame* frame, int columns, std::vector<Cell> cells);
// Blocks of lines side by side, each with its own caption column.
Line Columns(std::vector<Lines> blocks);

struct Dialog {
    Lines lines;
    std::vector<Control*> buttons;   // the row of commands under the lines
    double fieldWidth = 0;           // the least width of a field column, twips
    double buttonWidth = 1300;       // the least width of a command, twips
};

// Lays the form's controls out as told; call it once the controls exist. Controls the dialog
// does not name keep their place.
void LayOut(Form& form, const Dialog& dialog);

// Brings the form's layouts up to date at once, those of its frames too.
void Settle(const Form& form);

// The controls that Tab visits from the first one, in order.
std::vector<Control*> TabOrder(const Form& form);
// A control's place inside its window, whatever frame holds it (twips).
QRect PlaceInWindow(const Control& c);

} // namespace platform::layout
