#pragma once
// The screen and the mouse pointer.

namespace platform {

namespace Screen {
double Width();
double Height();
void setMousePointer(int pointer);        // 11 hourglass, 0 default
}

} // namespace platform
