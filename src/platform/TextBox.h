#pragma once
// A text box, single-line or multi-line.
#include "platform/Control.h"

class QLineEdit;
class QPlainTextEdit;

namespace platform {

class TextBox : public Control {
public:
    TextBox(Form& f, const QString& name, bool multiLine = false, int index = -1);
    QString Text() const;
    void setText(const QString& t);       // fires Change
    bool Locked() const { return locked_; }
    void setLocked(bool v);
    void setMaxLength(int n);
    int SelStart() const;
    void setSelStart(int pos);
    void SelectAll();
    std::function<void()> Change;
    std::function<void(int& keyCode, int shift)> KeyDown;
    void SendKey(int vbKeyCode);          // a key press as the user gives it (End, Home, ...)
    bool MultiLine() const { return multi_; }
private:
    QLineEdit* line_ = nullptr;
    QPlainTextEdit* plain_ = nullptr;
    bool multi_;
    bool locked_ = false;
};

} // namespace platform
