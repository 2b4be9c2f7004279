#pragma once
// Internal to the platform layer: runs a control's Validate handler when the user leaves it for
// another control of its window, before the focus moves and before the other control hears of it.
namespace platform {

// Installs the watcher on the application, once.
void WatchValidation();

} // namespace platform
