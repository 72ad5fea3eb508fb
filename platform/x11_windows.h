// Raising another program's window on an X11 display, by its title, through the window
// manager, the way a pager asks for it.
#pragma once

#include <string>

namespace tarvek {

// The first window of the window manager's client list whose _NET_WM_NAME is exactly
// title is asked to become the active window. No display, no window manager or no such
// window: nothing happens. False when no request was sent.
bool RaiseX11WindowTitled(const std::string& title);

}  // namespace tarvek
