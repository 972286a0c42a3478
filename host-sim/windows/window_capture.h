// A window as it is drawn, copied into a 24-bit BMP file: what the Windows
// host's `dialog capture` writes.
#pragma once

#include <string>

#include "platform/win32.h"

namespace lumo::hostsim {

// Shows, activates and paints the window and its children, then copies the
// whole window (frame and caption included) through its window device
// context into `path`. Reading the window's own pixels rather than the
// screen's does not depend on when the drawing reaches the display, so the
// same dialog gives the same file every time. Returns an error text, or
// empty.
std::string captureWindowToBmp(HWND window, const std::string& path);

}  // namespace lumo::hostsim
