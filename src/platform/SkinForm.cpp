#include "platform/SkinForm.h"
#include "platform/Form.h"
#include <QIcon>
#include <QWidget>

namespace platform {

SkinForm::SkinForm(Form& f, const QString& name) : Control(f, name, ControlKind::SkinForm) { tabStop_ = false; }
QWidget* SkinForm::Widget() const { return Parent.Window(); }
QString SkinForm::Caption() const { return Parent.Caption(); }
void SkinForm::setCaption(const QString& c) { Parent.setCaption(c); }
void SkinForm::setIcon(const QString& iconPath)
{
    icon_ = iconPath;
    if (Parent.Window() && !iconPath.isEmpty())
        Parent.Window()->setWindowIcon(QIcon(iconPath));
}

} // namespace platform
