#include "platform/TextBox.h"
#include <QLineEdit>
#include <QPlainTextEdit>
#include <algorithm>
#include <limits>

namespace platform {

namespace {
// A text box holds whatever is set or typed unless its window gives it a limit.
constexpr int Unlimited = std::numeric_limits<int>::max();
} // namespace

TextBox::TextBox(Form& f, const QString& name, bool multiLine, int index)
    : Control(f, name, index), multi_(multiLine)
{
    if (multiLine) {
        plain_ = new QPlainTextEdit();
        plain_->setTabChangesFocus(true);
        setWidget(plain_);
        QObject::connect(plain_, &QPlainTextEdit::textChanged, plain_, [this] { Dispatch(Change); });
    } else {
        line_ = new QLineEdit();
        line_->setMaxLength(Unlimited);
        setWidget(line_);
        QObject::connect(line_, &QLineEdit::textChanged, line_, [this] { Dispatch(Change); });
    }
    watchKeys(&KeyDown);
}

QString TextBox::Text() const { return multi_ ? plain_->toPlainText() : line_->text(); }

void TextBox::setText(const QString& t)
{
    if (multi_)
        plain_->setPlainText(t);
    else
        line_->setText(t);
}

void TextBox::setLocked(bool v)
{
    locked_ = v;
    if (multi_)
        plain_->setReadOnly(v);
    else
        line_->setReadOnly(v);
}

void TextBox::setMaxLength(int n)
{
    if (line_)
        line_->setMaxLength(n > 0 ? n : Unlimited);
}

int TextBox::SelStart() const
{
    return multi_ ? plain_->textCursor().position() : line_->cursorPosition();
}

void TextBox::setSelStart(int pos)
{
    if (multi_) {
        QTextCursor c = plain_->textCursor();
        c.setPosition(std::clamp(pos, 0, static_cast<int>(plain_->toPlainText().size())));
        plain_->setTextCursor(c);
    } else {
        line_->setCursorPosition(pos);
    }
}


} // namespace platform
