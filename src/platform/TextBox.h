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
    void setMaxLength(int n);             // 0: no limit (the default)
    int SelStart() const;
    void setSelStart(int pos);
    std::function<void()> Change;
    std::function<void(int& keyCode, int shift)> KeyDown;
    std::optional<QString> ValueText() const override { return Text(); }
    void setValueText(const QString& value) override { setText(value); }
    std::optional<QString> FilterText() const override { return Text(); }
    CardItem Card() const override { return {CardItem::Kind::Text, Text()}; }
private:
    QLineEdit* line_ = nullptr;
    QPlainTextEdit* plain_ = nullptr;
    bool multi_;
    bool locked_ = false;
};

} // namespace platform
