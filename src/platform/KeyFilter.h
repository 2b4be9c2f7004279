#pragma once
// Internal to the platform layer: key handling shared by the text and combo boxes.
#include <QObject>
#include <functional>

class QWidget;

namespace platform {

// Hands key presses to a control's KeyDown handler first; a handler that sets the code to 0 eats the key.
class KeyFilter : public QObject {
public:
    KeyFilter(QObject* parent, std::function<void(int&, int)>* handler) : QObject(parent), handler_(handler) {}
    bool eventFilter(QObject*, QEvent* ev) override;
    // The control goes: its handler is no more.
    void detach() { handler_ = nullptr; }
private:
    std::function<void(int&, int)>* handler_;
};

// Sends a key press and release, as the user gives it, to the widget.
void sendKey(QWidget* w, int vbKeyCode);
// Types the text into the widget, one key press and release a character.
void typeText(QWidget* w, const QString& text);

} // namespace platform
