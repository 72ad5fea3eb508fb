// What the tablet edition keeps besides the full editor's state: the view lines it
// carries through unchanged, and the display scaling of the map.
#pragma once

#include <array>
#include <cstdint>

namespace tarvek {

// Positions in KeptViewSettings.
enum TKeptViewLine {
    kvTop, kvLeft, kvWidth, kvHeight, kvPaintWidth, kvPaintHeight, kvScrollX, kvScrollY, kvZoom,
};

struct TTabletState {
    // Lines 1-9 of the view settings exactly as read (before any value is pulled into
    // range): window top, left, width, height, paint-box width, height, scroll position
    // x, y, zoom. A drawing without view lines keeps the defaults the loader starts from.
    std::array<std::int32_t, 9> KeptViewSettings{100, 200, 800, 600, 764, 564, 0, 0, 1};
    // The display scaling, fixed when the form is first shown; 0 until then.
    double DisplayScaleX = 0.0, DisplayScaleY = 0.0;
    // The figures stand in display-scaled coordinates: only then is there a scaling to
    // take out before writing.
    bool FiguresScaled = false;
};

}  // namespace tarvek
