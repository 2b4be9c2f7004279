#include "shared/ModalWindows.h"

namespace verbanto {

void UnloadAndRelease(platform::Form& form) { platform::Forms::Release(form); }

} // namespace verbanto
