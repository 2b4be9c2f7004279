#include "platform/SkinForm.h"
#include "platform/Form.h"
#include <QIcon>
#include <QWidget>

namespace platform {

SkinForm::SkinForm(Form& f, const QString& name) : Control(f, name) { tabStop_ = false; }
QWidget* SkinForm::Widget() const { return Parent.Window(); }
QString SkinForm::Caption() const { return Parent.Caption(); }
void SkinForm::setCaption(const QString& c) { Parent.setCaption(c); }
void SkinForm::ApplyCommonSetUp(const QString& iconPath)
{
    DrawGradientForm = true;
    setIcon(iconPath);
}

void SkinForm::setIcon(const QString& iconPath)
{
    if (Parent.Window() && !iconPath.isEmpty())
        Parent.Window()->setWindowIcon(QIcon(iconPath));
}

} // namespace platform
