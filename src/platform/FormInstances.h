#pragma once
// Default instances: a form is made on first use and lives until Release.
#include "platform/Form.h"
#include <typeindex>

namespace platform {

namespace Forms {
Form*& slot(std::type_index t);
void retire(Form* f);   // kept until the program ends: its code may still be running
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
    Form*& s = slot(std::type_index(typeid(T)));
    Form* f = s;
    s = nullptr;
    if (f) {
        if (f->Loaded())
            f->Unload();
        retire(f);
    }
}
void ReleaseAll();
} // namespace Forms

} // namespace platform
