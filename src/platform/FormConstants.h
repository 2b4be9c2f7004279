#pragma once
// Units and constants shared by forms, controls and the windows.
// Positions and sizes are in twips (15 a pixel).

namespace platform {

constexpr int TwipsPerPixel = 15;
inline int ToPixels(double twips) { return static_cast<int>(twips / TwipsPerPixel + 0.5); }
inline int ToTwips(int pixels) { return pixels * TwipsPerPixel; }

constexpr int vbModeless = 0;
constexpr int vbModal = 1;
// Unload modes of QueryUnload
constexpr int vbFormControlMenu = 0;
constexpr int vbFormCode = 1;
// Window states
constexpr int vbNormal = 0;
constexpr int vbMinimized = 1;
constexpr int vbMaximized = 2;
// Key codes the windows and their tests give
constexpr int vbKeyReturn = 13;
constexpr int vbKeyEnd = 35;
constexpr int vbKeyHome = 36;
constexpr int vbKeyDelete = 46;

} // namespace platform
