#pragma once
// Check boxes and option buttons.
#include "platform/Control.h"

class QCheckBox;
class QRadioButton;

namespace platform {

class CheckBox : public Control {
public:
    CheckBox(Form& f, const QString& name, const QString& caption, int index = -1);
    QString Caption() const override;
    void setCaption(const QString& c);
    int Value() const;                    // 0 unchecked, 1 checked, 2 grayed
    void setValue(int v);
    std::function<void()> Click;
    void PerformClick();                  // cycles as the user's click does (0 -> 1 -> 0; grayed -> 0)
    std::optional<QString> ValueText() const override;
    void setValueText(const QString& value) override;
    QString ClearedValueText() const override;
    std::optional<QString> FilterText() const override;
    CardItem Card() const override;
private:
    QCheckBox* c_;
};

class OptionButton : public Control {
public:
    OptionButton(Form& f, const QString& name, const QString& caption, int index = -1);
    QString Caption() const override;
    void setCaption(const QString& c);
    bool Value() const;
    void setValue(bool v);
    std::function<void()> Click;
    void PerformClick();
private:
    QRadioButton* r_;
};

} // namespace platform
