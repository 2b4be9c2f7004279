#pragma once
// The base of every control on a form: a thin wrapper on one Qt widget.
#include "platform/FormConstants.h"
#include "platform/VbError.h"
#include <QFont>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace platform {

class Form;
class KeyFilter;

// What a record card shows of a control: a value under its label's heading (as typed, or as a
// list shows it), or a check box's own caption with its state.
struct CardItem {
    enum class Kind { None, Text, ListText, Check };
    Kind kind = Kind::None;
    QString text;    // Text, ListText: the value; Check: the caption
    int state = 0;   // Check: 0 unchecked, 1 checked, 2 grayed
};

class Control {
public:
    Control(Form& form, const QString& name, int index = -1);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const QString Name;
    const int Index;          // index in a control array, -1 when none
    Form& Parent;

    virtual QWidget* Widget() const { return widget_; }

    virtual bool Visible() const;         // the control's own visibility, whatever its window does
    virtual void setVisible(bool v);
    virtual bool Enabled() const;
    virtual void setEnabled(bool v);
    bool TabStop() const { return tabStop_; }
    void setTabStop(bool v);
    double Left() const;
    double Top() const;
    double Width() const;
    double Height() const;
    void setLeft(double twips);
    void setTop(double twips);
    void setWidth(double twips);
    void setHeight(double twips);
    void Move(double left, double top, double width = -1, double height = -1);
    void SetFocus();
    bool HasFocus() const;
    QFont Font() const;
    void setFont(const QFont& f);
    long hWnd() const;
    // Controls without a caption raise 438.
    virtual QString Caption() const;

    // The windows' common set-up at load: labels and browsers leave the tab order, combo boxes
    // become drop-down lists, the skin draws its gradient and shows the icon.
    virtual void ApplyCommonSetUp(const QString& iconPath);

    // The value as text, as a window remembers it between openings: the text of text boxes and
    // date pickers, 0/1/2 of check boxes, the list index of combo boxes; nothing for the rest.
    virtual std::optional<QString> ValueText() const { return std::nullopt; }
    // Puts back a value that ValueText gave (a date picker keeps its date when the text is no date;
    // a combo box past its list selects nothing).
    virtual void setValueText(const QString& /*value*/) {}
    // The value that clears the control: empty, grayed (2) for check boxes, none (-1) for combo boxes.
    virtual QString ClearedValueText() const { return QString(); }
    // The control's choice as a filter reads it: the text of text boxes and date pickers, the
    // selected item's data of combo boxes, 0/1 of check boxes; nothing when there is no choice
    // (no item selected, a grayed check box) or the control makes none.
    virtual std::optional<QString> FilterText() const { return std::nullopt; }
    // What a record card shows of the control.
    virtual CardItem Card() const { return {}; }

    // Keys as the user gives them: one key (End, Home, Enter, ...), or a text typed key by key.
    void SendKey(int vbKeyCode);
    void Type(const QString& text);

    // The user leaves the control for another of its window (Tab, a click, an access key): the
    // handler may cancel, and the focus stays. A click or an access key on a control that does
    // not cause validation (a cancel command) goes on without it.
    std::function<void(bool& cancel)> Validate;
    bool CausesValidation() const { return causesValidation_; }
    void setCausesValidation(bool v) { causesValidation_ = v; }

    // The control a widget belongs to: its own, or its nearest parent's; none for other widgets.
    static Control* Of(const QWidget* w);

protected:
    void setWidget(QWidget* w);           // the widget becomes a child of the form's window or frame
    // Hands the widget's key presses to the handler first (see KeyFilter), as long as the control lives.
    void watchKeys(std::function<void(int&, int)>* handler);
    QWidget* container() const;
    QWidget* widget_ = nullptr;
    bool tabStop_ = true;
    bool causesValidation_ = true;

private:
    KeyFilter* keys_ = nullptr;   // a child of the widget, which outlives the control
};

// Runs a window's handler from a Qt signal: nothing may escape into Qt.
void Dispatch(const std::function<void()>& handler);
// Key codes as the windows know them (Delete 46, End 35, ...), from a Qt key.
int VbKeyCode(int qtKey);

} // namespace platform
