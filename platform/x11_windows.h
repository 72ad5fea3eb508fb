// Raising another program's windows on an X11 display, by their titles, through the
// window manager, the way a pager asks for it; and the frame the window manager draws
// around a window of this program.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvek {

// Each title in turn, on one connection: the first window of the window manager's client
// list whose title is exactly the title is asked to become the active window, with a
// fresh server time, and the next title waits (a short, bounded time) until the window
// manager has made it so. A window's title is its _NET_WM_NAME, or its WM_NAME when it has
// none (X11TitleIs). Window managers drop or reorder requests that come without a time or
// all at once, and the last window must end up active, not only on top. Titles that name
// no window are passed over. No display or no window manager: nothing happens.
// The number of windows asked for.
int RaiseX11WindowsTitled(const std::vector<std::string>& titles);

// One title, as above. False when no request was sent.
bool RaiseX11WindowTitled(const std::string& title);

// The types a window's title property comes in.
enum class TX11TextType { Utf8String, String, CompoundText };

// Whether a title property of that type holding those bytes shows the UTF-8 title, as a
// pager reads it: UTF8_STRING as it is, STRING as Latin-1 (and also as it is, since some
// programs store their UTF-8 text there unchanged), COMPOUND_TEXT by its ISO 2022
// designations. A property holding a list is read up to its first NUL.
bool X11TitleIs(TX11TextType type, std::string_view bytes, std::string_view title);

// Compound text in UTF-8: ASCII and Latin-1 by default; JIS X 0208, JIS X 0212, GB 2312
// and KS C 5601 designated to either half; JIS X 0201 and the right halves of the
// ISO 8859 parts; UTF-8 segments. Nothing when it holds anything else or is cut.
std::optional<std::string> CompoundTextToUtf8(std::string_view bytes);

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
