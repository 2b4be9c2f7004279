#include "platform/FormInstances.h"
#include <map>

namespace platform {

namespace Forms {
namespace {
std::map<std::type_index, Form*>& formSlots()
{
    static std::map<std::type_index, Form*> m;
    return m;
}
std::vector<Form*>& released()
{
    static std::vector<Form*> v;
    return v;
}
} // namespace

Form*& slot(std::type_index t) { return formSlots()[t]; }

void retire(Form* f) { released().push_back(f); }

void ReleaseAll()
{
    for (auto& [t, f] : formSlots()) {
        if (f) {
            if (f->Loaded())
                f->Unload();
            released().push_back(f);
            f = nullptr;
        }
    }
    for (Form* f : released())
        delete f;
    released().clear();
}
} // namespace Forms

} // namespace platform
