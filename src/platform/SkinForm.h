#pragma once
// The skin of a window.
#include "platform/Control.h"

namespace platform {

// The skin of a window: its caption, gradient and icon.
class SkinForm : public Control {
public:
    SkinForm(Form& f, const QString& name);
    QWidget* Widget() const override;
    QString Caption() const override;
    void setCaption(const QString& c);
    bool DrawGradientForm = false;
    void setIcon(const QString& iconPath);
    void ApplyCommonSetUp(const QString& iconPath) override;
};

} // namespace platform
