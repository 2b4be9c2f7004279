#pragma once
// Command buttons and labels.
#include "platform/Control.h"

class QPushButton;
class QLabel;

namespace platform {

class Button : public Control {
public:
    Button(Form& f, const QString& name, const QString& caption, int index = -1);
    QString Caption() const override;
    void setCaption(const QString& c);
    void setDefault(bool v);              // Enter presses it
    void setCancel(bool v);               // Escape presses it
    std::function<void()> Click;
    void PerformClick();                  // a user's click: nothing when disabled or hidden
private:
    QPushButton* b_;
};

class Label : public Control {
public:
    Label(Form& f, const QString& name, const QString& caption, int index = -1);
    QString Caption() const override;
    void setCaption(const QString& c);
    void ApplyCommonSetUp(const QString& iconPath) override;
private:
    QLabel* l_;
};

} // namespace platform
