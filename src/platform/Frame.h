#pragma once
// Frames that group controls, and pictures.
#include "platform/Control.h"

class QGroupBox;

namespace platform {

class Frame : public Control {
public:
    Frame(Form& f, const QString& name, const QString& caption, int index = -1);
    QString Caption() const override;
    void setCaption(const QString& c);
private:
    QGroupBox* g_;
};

class Picture : public Control {
public:
    Picture(Form& f, const QString& name, int index = -1);
    void setPicture(const QString& resourcePath);
};

} // namespace platform
