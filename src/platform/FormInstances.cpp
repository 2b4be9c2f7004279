#include "platform/FormInstances.h"
#include "platform/FormWindow.h"
#include <QApplication>
#include <QDialog>
#include <QWidget>
#include <map>
#include <vector>

namespace platform {

namespace Forms {
namespace {
std::map<std::type_index, Form*>& formSlots()
{
    static std::map<std::type_index, Form*> m;
    return m;
}
// Released forms waiting for their code to be done.
std::vector<Form*>& released()
{
    static std::vector<Form*> v;
    return v;
}
struct Discarded {
    std::vector<std::unique_ptr<Control>> controls;
    QWidget* window;
};
std::vector<Discarded>& discarded()
{
    static std::vector<Discarded> v;
    return v;
}
int busyDepth = 0;
bool ending = false;

void deleteReleased()
{
    // A form's destructor may unload it or release another one: go on until nothing is left.
    while (!released().empty() || !discarded().empty()) {
        std::vector<Discarded> windows = std::move(discarded());
        discarded().clear();
        for (Discarded& d : windows) {
            d.controls.clear();
            // Later still: the window may be receiving the very event that ended its form.
            if (d.window)
                d.window->deleteLater();
        }
        const std::vector<Form*> doomed = std::move(released());
        released().clear();
        for (Form* f : doomed)
            delete f;
    }
}

void settle()
{
    if (busyDepth > 0 || (released().empty() && discarded().empty()))
        return;
    ++busyDepth;   // no form code runs now, but a destructor must not start a second round
    deleteReleased();
    --busyDepth;
}
} // namespace

Form*& slot(std::type_index t) { return formSlots()[t]; }

Busy::Busy() { ++busyDepth; }

Busy::~Busy()
{
    --busyDepth;
    settle();
}

void Discard(std::vector<std::unique_ptr<Control>> controls, QWidget* window)
{
    discarded().push_back({std::move(controls), window});
    settle();
}

void Release(Form& form)
{
    Busy busy;   // the form is deleted when this ends, unless form code runs further up
    Form*& s = slot(std::type_index(typeid(form)));
    const bool isDefault = s == &form;
    if (isDefault)
        s = nullptr;
    if (form.Loaded())
        form.Unload();
    if (isDefault)
        released().push_back(&form);
}

void ReleaseAll()
{
    Busy busy;
    for (auto& [t, f] : formSlots()) {
        if (f) {
            if (f->Loaded())
                f->Unload();
            released().push_back(f);
            f = nullptr;
        }
    }
}
void EndDialogs()
{
    ending = true;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible())
            continue;
        if (w->windowType() == Qt::Popup)
            w->hide();   // a menu's loop ends with its hiding
        else if (auto* dialog = qobject_cast<QDialog*>(w); dialog && !dynamic_cast<FormWindow*>(dialog))
            dialog->reject();
    }
}

bool Ending() { return ending; }
} // namespace Forms

} // namespace platform
