#include "shared/ModalWindows.h"
#include "shared/TracedProcedure.h"

namespace verbanto {

void UnloadAndRelease(platform::Form& form) { platform::Forms::Release(form); }

void LoadOrClose(platform::Form& form, const std::function<void()>& load)
{
    if (!WithoutErrors(load) && form.Loaded())
        UnloadAndRelease(form);
}

} // namespace verbanto
