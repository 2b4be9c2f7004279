#pragma once
// Opening and closing the windows' default instances: the modal show, the loaded instance a
// list refresh goes to, and the release that makes the next opening build the window afresh.
#include "platform/Forms.h"
#include <functional>

namespace verbanto {

// Shows the default instance of a window modally; the opener waits until it closes.
template <class T> void ShowModal() { platform::Forms::Instance<T>().Show(platform::vbModal); }

// The default instance of a window when it is loaded (a list that an editor or a filter
// refreshes), else null.
template <class T> T* LoadedInstance()
{
    return platform::Forms::Exists<T>() && platform::Forms::Instance<T>().Loaded() ? &platform::Forms::Instance<T>() : nullptr;
}

// Unloads a window and releases its default instance, so that the next opening builds it
// afresh. Safe inside the window's own handler: the object itself goes once no form code runs.
void UnloadAndRelease(platform::Form& form);

// Runs a window's load; a window whose load reported a failure closes, the failure told once,
// rather than show empty what it could not read and then save it so.
void LoadOrClose(platform::Form& form, const std::function<void()>& load);

} // namespace verbanto
