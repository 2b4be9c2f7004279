#include "shared/ModalWindows.h"
#include <QTimer>
#include <typeindex>

namespace verbanto {

void UnloadAndRelease(platform::Form& form)
{
    platform::Form*& slot = platform::Forms::slot(std::type_index(typeid(form)));
    const bool isDefault = slot == &form;
    if (isDefault)
        slot = nullptr;
    if (form.Loaded())
        form.Unload();
    if (isDefault) {
        platform::Form* doomed = &form;
        QTimer::singleShot(0, [doomed] { delete doomed; });
    }
}

} // namespace verbanto
