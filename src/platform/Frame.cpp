#include "platform/Frame.h"
#include <QGroupBox>
#include <QLabel>

namespace platform {

Frame::Frame(Form& f, const QString& name, const QString& caption, int index)
    : Control(f, name, index), g_(new QGroupBox(caption))
{
    setWidget(g_);
    tabStop_ = false;
}
QString Frame::Caption() const { return g_->title(); }
void Frame::setCaption(const QString& c) { g_->setTitle(c); }

Picture::Picture(Form& f, const QString& name, int index) : Control(f, name, index)
{
    setWidget(new QLabel());
    tabStop_ = false;
}
void Picture::setPicture(const QString& path)
{
    static_cast<QLabel*>(widget_)->setPixmap(QPixmap(path));
}

} // namespace platform
