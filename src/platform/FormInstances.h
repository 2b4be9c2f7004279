#pragma once
// Default instances: a form is made on first use and lives until Release.
#include "platform/Form.h"
#include <memory>
#include <typeindex>
#include <vector>

class QWidget;

namespace platform {

namespace Forms {
Form*& slot(std::type_index t);

// Form code runs inside one of these: every handler the platform calls, every load, show and
// unload. A released form is deleted once none is held any more, so never while a frame of its
// own code is still on the stack (its handler, its modal show, a nested event loop under them).
class Busy {
public:
    Busy();
    ~Busy();
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;
};

// An unloaded form's controls and window: kept until no form code runs, since a handler further
// up the stack (one that opened a modal window, say) may still use them after the unload.
void Discard(std::vector<std::unique_ptr<Control>> controls, QWidget* window);

// Unloads the form (when loaded) and, when it is its class's default instance, lets the instance
// go: the next use makes a fresh one, and this one is deleted as soon as no form code runs.
void Release(Form& form);
template <class T> T& Instance()
{
    Form*& s = slot(std::type_index(typeid(T)));
    if (!s)
        s = new T();
    return static_cast<T&>(*s);
}
template <class T> bool Exists() { return slot(std::type_index(typeid(T))) != nullptr; }
// Unloads (when loaded) and destroys the default instance; the next use makes a fresh one.
template <class T> void Release()
{
    if (Form* f = slot(std::type_index(typeid(T))))
        Release(*f);
}
// At the end: unloads and deletes every form.
void ReleaseAll();

// The user has confirmed the exit: the menus and dialogs still open under the question are
// closed as cancelled and none opens any more, so that whatever waited on them ends at once.
void EndDialogs();
bool Ending();
} // namespace Forms

} // namespace platform
