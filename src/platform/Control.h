#pragma once
// The base of every control on a form: a thin wrapper on one Qt widget.
#include "platform/FormConstants.h"
#include "platform/VbError.h"
#include <QFont>
#include <QString>
#include <functional>

class QWidget;

namespace platform {

class Form;

class Control {
public:
    Control(Form& form, const QString& name, ControlKind kind, int index = -1);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const QString Name;
    const ControlKind Kind;
    const int Index;          // index in a control array, -1 when none
    Form& Parent;

    virtual QWidget* Widget() const { return widget_; }

    bool Visible() const;                 // the control's own visibility, whatever its window does
    void setVisible(bool v);
    bool Enabled() const;
    void setEnabled(bool v);
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

protected:
    void setWidget(QWidget* w);           // the widget becomes a child of the form's window or frame
    QWidget* container() const;
    QWidget* widget_ = nullptr;
    bool tabStop_ = true;
};

// Runs a window's handler from a Qt signal: nothing may escape into Qt.
void Dispatch(const std::function<void()>& handler);
// Key codes as the windows know them (Delete 46, End 35, ...), from a Qt key.
int VbKeyCode(int qtKey);

} // namespace platform
