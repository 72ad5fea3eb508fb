// Raising another program's windows on an X11 display, by their titles, through the
// window manager, the way a pager asks for it.
#pragma once

#include <string>
#include <vector>

namespace tarvek {

// Each title in turn, on one connection: the first window of the window manager's client
// list whose _NET_WM_NAME is exactly the title is asked to become the active window, with
// a fresh server time, and the next title waits (a short, bounded time) until the window
// manager has made it so. Window managers drop or reorder requests that come without a
// time or all at once, and the last window must end up active, not only on top. Titles
// that name no window are passed over. No display or no window manager: nothing happens.
// The number of windows asked for.
int RaiseX11WindowsTitled(const std::vector<std::string>& titles);

// One title, as above. False when no request was sent.
bool RaiseX11WindowTitled(const std::string& title);

}  // namespace tarvek
