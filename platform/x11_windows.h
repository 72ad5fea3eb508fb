// Raising another program's windows on an X11 display, by their titles, through the
// window manager, the way a pager asks for it; and the frame the window manager draws
// around a window of this program.
#pragma once

#include <chrono>
#include <cstdint>
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

// The thickness of a window manager's frame on each side of a top-level window, in pixels.
struct TFrameExtents {
    int Left = 0, Right = 0, Top = 0, Bottom = 0;
};

// The frame the window manager draws, or will draw, around a top-level window of the
// display (its _NET_FRAME_EXTENTS). A window it has not framed yet (not yet shown) it is
// asked to tell, as the window would be framed now, and given at most `wait` to answer.
// False without an answer: no display, no window manager, or one that does not tell.
bool X11FrameExtents(std::uint32_t window, std::chrono::milliseconds wait, TFrameExtents& extents);

}  // namespace tarvek
